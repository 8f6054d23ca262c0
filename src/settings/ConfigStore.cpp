#include "settings/ConfigStore.h"

#include <tuple>

#include "platform/ProgramPath.h"
#include "settings/IniFile.h"
#include "settings/StoredForms.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::settings {
namespace {

std::string_view SkipLeadingControlBytes(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  return s;
}

}  // namespace

ConfigStore::ConfigStore(platform::FileSystem& files) : files_(files) {}

ConfigStore::~ConfigStore() = default;

std::unique_ptr<ConfigStore> ConfigStore::Copy() const {
  auto copy = std::make_unique<ConfigStore>(files_);
  copy->filePath_ = filePath_;
  copy->section_ = section_;
  copy->useRegistry_ = useRegistry_;
  copy->registryPrefix_ = registryPrefix_;
  return copy;
}

void ConfigStore::SetFile(std::string_view filePath, std::string_view section, bool useRegistry) {
  filePath_ = std::string(filePath);
  useRegistry_ = useRegistry;
  registryPrefix_.clear();  // it was worked out from the previous path
  if (!section.empty()) SetSection(section);
}

void ConfigStore::SetSection(std::string_view section) {
  section_ = std::string(section);
  if (useRegistry_) registryPrefix_ = filePath_ + "\\" + section_ + "\\";
}

bool ConfigStore::WriteText(std::string_view key, std::string_view text) {
  return WriteStored(key, StoredText(text));
}

std::string ConfigStore::ReadText(std::string_view key, std::string_view defaultText) {
  return TextFromStored(ReadStored(key, EscapeLineBreaks(defaultText)));
}

bool ConfigStore::WriteNumber(std::string_view key, double value) {
  return WriteStored(key, StoredNumber(value));
}

double ConfigStore::ReadNumber(std::string_view key, double defaultValue) {
  return NumberFromStored(ReadStored(key, StoredNumber(defaultValue)));
}

bool ConfigStore::WriteBool(std::string_view key, bool value) {
  return WriteStored(key, StoredBool(value));
}

bool ConfigStore::ReadBool(std::string_view key, bool defaultValue) {
  return ReadStored(key, StoredBool(defaultValue)) == text::kTrue;
}

bool ConfigStore::ReadBoolNotFalse(std::string_view key, bool defaultValue) {
  return ReadStored(key, StoredBool(defaultValue)) != text::kFalse;
}

bool ConfigStore::WriteTime(std::string_view key, const DateTime& time) {
  return WriteStored(key, StoredTime(time));
}

DateTime ConfigStore::ReadTime(std::string_view key, const DateTime& defaultTime) {
  return TimeFromStored(ReadStored(key, StoredTime(defaultTime))).value_or(DateTime{});
}

bool ConfigStore::SaveMenuCheck(const CheckableControl& item) {
  return WriteBool(item.Caption(), item.Checked());
}

bool ConfigStore::LoadMenuCheck(CheckableControl& item) {
  item.SetChecked(ReadBool(item.Caption(), item.Checked()));
  return item.Checked();
}

bool ConfigStore::SaveCheckBox(const CheckableControl& box) { return SaveMenuCheck(box); }

bool ConfigStore::LoadCheckBox(CheckableControl& box) { return LoadMenuCheck(box); }

bool ConfigStore::SaveToggle(const CheckableControl& toggle) { return SaveMenuCheck(toggle); }

bool ConfigStore::LoadToggle(CheckableControl& toggle) { return LoadMenuCheck(toggle); }

bool ConfigStore::SaveEditText(std::string_view key, const TextControl& edit) {
  return WriteText(key, text::ReplaceAll(edit.Text(), "\r\n", "[||]"));
}

std::string ConfigStore::LoadEditText(std::string_view key, TextControl& edit) {
  // "[||]" is searched by characters: its bytes can be the trail bytes of Chinese characters.
  edit.SetText(text::ReplaceAll(ReadText(key, edit.Text()), "[||]", "\r\n"));
  return edit.Text();
}

bool ConfigStore::SaveControlText(std::string_view key, const TextControl& control) {
  return WriteText(key, control.Text());
}

std::string ConfigStore::LoadControlText(std::string_view key, TextControl& control) {
  control.SetText(ReadText(key, control.Text()));
  return control.Text();
}

bool ConfigStore::SaveComboText(std::string_view key, const TextControl& combo) {
  return SaveControlText(key, combo);
}

std::string ConfigStore::LoadComboText(std::string_view key, TextControl& combo) {
  return LoadControlText(key, combo);
}

bool ConfigStore::SaveWindowPlacement(const WindowGeometry& window, std::string_view section) {
  if (!section.empty()) section_ = std::string(section);  // the registry prefix stays as it was
  std::ignore = BeginBatch();  // an unreadable file shows up as failed writes
  bool ok = WriteNumber(text::kKeyPlacement, window.PlacementState());
  if (window.PlacementState() < 2) {
    ok = WriteNumber(text::kKeyLeft, window.Left()) && ok;
    ok = WriteNumber(text::kKeyTop, window.Top()) && ok;
    ok = WriteNumber(text::kKeyWidth, window.Width()) && ok;
    ok = WriteNumber(text::kKeyHeight, window.Height()) && ok;
  }
  return EndBatch() && ok;
}

void ConfigStore::LoadWindowPlacement(WindowGeometry& window, std::string_view section) {
  if (!section.empty()) section_ = std::string(section);
  std::ignore = BeginBatch();  // an unreadable file reads as the defaults
  window.SetPlacementState(TruncateToInt(ReadNumber(text::kKeyPlacement, window.PlacementState())));
  if (window.PlacementState() <= 1) {
    const int left = TruncateToInt(ReadNumber(text::kKeyLeft, window.Left()));
    const int top = TruncateToInt(ReadNumber(text::kKeyTop, window.Top()));
    const int width = TruncateToInt(ReadNumber(text::kKeyWidth, window.Width()));
    const int height = TruncateToInt(ReadNumber(text::kKeyHeight, window.Height()));
    window.Move(left, top, width, height);
  }
  std::ignore = EndBatch();  // nothing was written
}

std::string ConfigStore::DefaultFilePath(std::string_view baseName, bool useBaseName) const {
  std::string base;
  if (useBaseName) {
    base = std::string(baseName);
  } else {
    const std::string program = platform::ProgramFile();
    base = program.substr(program.rfind('/') + 1);  // npos + 1 is 0: the whole text
  }
  const std::size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.resize(dot);
  return platform::ProgramFolder() + "/" + base + ".ini";
}

bool ConfigStore::BeginBatch() {
  if (batch_) {
    ++batch_->depth;
    return batch_->file.readable;
  }
  Batch batch;
  batch.path = std::string(SkipLeadingControlBytes(filePath_));
  if (!batch.path.empty()) batch.file = Load(batch.path);
  batch.original = batch.file.content;
  batch_ = std::move(batch);
  return batch_->file.readable;
}

bool ConfigStore::EndBatch() {
  if (!batch_) return true;
  if (--batch_->depth > 0) return !batch_->failed;
  Batch batch = std::move(*batch_);
  batch_.reset();
  bool ok = !batch.failed;
  if (batch.file.content != batch.original) {
    ok = files_.ReplaceFileAtomically(batch.path, batch.file.content) && ok;
  }
  return ok;
}

ConfigStore::FileBytes ConfigStore::Load(const std::string& path) const {
  FileBytes file;
  if (auto bytes = files_.ReadWholeFile(path)) {
    file.content = std::move(*bytes);
    file.exists = true;
    return file;
  }
  file.exists = files_.Exists(path);
  file.readable = !file.exists;
  return file;
}

std::string ConfigStore::ReadStored(std::string_view key, std::string_view defaultStored) {
  const std::string path(SkipLeadingControlBytes(filePath_));
  const std::string_view section = SkipLeadingControlBytes(section_);
  key = SkipLeadingControlBytes(key);
  if (path.empty() || section.empty() || key.empty()) return {};
  FileBytes loaded;
  const FileBytes* file = &loaded;
  if (batch_ && batch_->path == path) {
    file = &batch_->file;
  } else {
    loaded = Load(path);
  }
  if (file->readable) {
    if (auto value = ReadIniValue(file->content, section, key)) return std::move(*value);
  }
  return IniDefault(defaultStored);
}

bool ConfigStore::WriteStored(std::string_view key, std::string_view stored) {
  const std::string path(SkipLeadingControlBytes(filePath_));
  const std::string_view section = SkipLeadingControlBytes(section_);
  key = SkipLeadingControlBytes(key);
  const bool named = !path.empty() && !section.empty() && !key.empty();
  if (batch_ && batch_->path == path) {
    if (!named || !batch_->file.readable) {
      batch_->failed = true;
      return false;
    }
    batch_->file.content = WriteIniValue(batch_->file.content, section, key, stored);
    return true;
  }
  bool ok = false;
  if (named) {
    const FileBytes file = Load(path);
    if (file.readable) {
      std::string updated = WriteIniValue(file.content, section, key, stored);
      ok = (file.exists && updated == file.content) ||
           files_.ReplaceFileAtomically(path, updated);
    }
  }
  if (!ok && batch_) batch_->failed = true;
  return ok;
}

}  // namespace lanzhou::settings
