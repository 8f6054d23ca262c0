// Rewrites every title of a corpus file as ECMAScript does: String.prototype.replace with a
// RegExp of flags "gim". Prints a JSON array with one entry per row: the result, or null when
// the pattern is a syntax error. Non-ASCII is escaped so the reader needs no UTF-8 handling.
const fs = require('fs');
const rows = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const out = rows.map((row) => {
  try {
    return row.title.replace(new RegExp(row.pattern, 'gim'), row.replacement);
  } catch (e) {
    if (e instanceof SyntaxError) return null;
    throw e;
  }
});
process.stdout.write(JSON.stringify(out).replace(/[\u007f-\uffff]/g,
    (c) => '\\u' + c.charCodeAt(0).toString(16).padStart(4, '0')));
