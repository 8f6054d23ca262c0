// A key/value store over an INI file (see IniFile.h for the file rules, StoredForms.h for how
// each kind of value is held as text), plus operations that save and restore one control.
//
// The store keeps no values: every read goes to the file and every write reaches the file at
// once, by writing a new file beside it and renaming that over the old one, so a crash or a
// full disk never leaves a damaged file. A series of writes can be gathered into one such
// replacement with BeginBatch and EndBatch.
//
//   ConfigStore store(files);
//   store.SetFile(path);
//   store.SetSection("\xBB\xF9\xB1\xBE\xC5\xE4\xD6\xC3");  // 基本配置
//   store.WriteNumber("x", 2);                                 // the file now holds "x=2"
//   store.ReadNumber("x", 0)                                   // -> 2
//
// Paths are the OS's bytes; sections, keys and values are code page 936. Leading bytes of 0x20
// and below are skipped in the path, the section and the key; when one of them is then empty,
// a read gives empty text (not the default) and a write fails. A missing file, section or key
// reads as the default; an existing file that cannot be read reads as the default too and is
// never written over.
//
// There is no registry on this platform: SetFile keeps the registry flag (and SetSection works
// out the registry prefix) so the store's state is complete, but every access uses the INI file.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "settings/CheckableControl.h"
#include "settings/DateTime.h"
#include "settings/TextControl.h"
#include "settings/WindowGeometry.h"

namespace lanzhou::settings {

class ConfigStore {
 public:
  explicit ConfigStore(platform::FileSystem& files);
  virtual ~ConfigStore();
  // The path, section and flag; not an open batch.
  virtual std::unique_ptr<ConfigStore> Copy() const;

  // A non-empty `section` is then selected with SetSection.
  virtual void SetFile(std::string_view filePath, std::string_view section = {},
                       bool useRegistry = false);
  virtual void SetSection(std::string_view section);

  // Texts are stored with every line break as "┊*┊" and come back with CR LF.
  virtual bool WriteText(std::string_view key, std::string_view text);
  virtual std::string ReadText(std::string_view key, std::string_view defaultText);
  virtual bool WriteNumber(std::string_view key, double value);
  virtual double ReadNumber(std::string_view key, double defaultValue);
  virtual bool WriteBool(std::string_view key, bool value);
  // True exactly when the text read is "真".
  virtual bool ReadBool(std::string_view key, bool defaultValue);
  // False exactly when the text read is "假".
  virtual bool ReadBoolNotFalse(std::string_view key, bool defaultValue);
  virtual bool WriteTime(std::string_view key, const DateTime& time);
  // A text that is not a date reads as 1 January 100, 00:00:00.
  virtual DateTime ReadTime(std::string_view key, const DateTime& defaultTime);

  // The control operations: a checkable control is saved under its caption; a Load sets the
  // control from the file (its current state is the default) and returns the state read back.
  virtual bool SaveMenuCheck(const CheckableControl& item);
  virtual bool LoadMenuCheck(CheckableControl& item);
  virtual bool SaveCheckBox(const CheckableControl& box);
  virtual bool LoadCheckBox(CheckableControl& box);
  virtual bool SaveToggle(const CheckableControl& toggle);
  virtual bool LoadToggle(CheckableControl& toggle);
  // The content with each CR LF as "[||]", then as a text.
  virtual bool SaveEditText(std::string_view key, const TextControl& edit);
  virtual std::string LoadEditText(std::string_view key, TextControl& edit);
  virtual bool SaveControlText(std::string_view key, const TextControl& control);
  virtual std::string LoadControlText(std::string_view key, TextControl& control);
  virtual bool SaveComboText(std::string_view key, const TextControl& combo);
  virtual std::string LoadComboText(std::string_view key, TextControl& combo);
  // "位置", then (for a window that is not minimised or maximised) "左边", "顶边", "宽度",
  // "高度". A non-empty `section` becomes the current section first. Returns whether every
  // write reached the file.
  virtual bool SaveWindowPlacement(const WindowGeometry& window, std::string_view section = {});
  virtual void LoadWindowPlacement(WindowGeometry& window, std::string_view section = {});
  // The program's folder, "/", the base name up to its last full stop, and ".ini"; the base is
  // `baseName` when `useBaseName`, else the program's own file name.
  virtual std::string DefaultFilePath(std::string_view baseName = {},
                                      bool useBaseName = false) const;

  // Gathers the reads and writes up to the matching EndBatch on one copy of the file: read once
  // here, written once (only if it changed) at EndBatch. Batches nest; the outermost one acts.
  // Returns false when the file exists but cannot be read (every write will then fail).
  virtual bool BeginBatch();
  // True when every write since BeginBatch reached the file.
  virtual bool EndBatch();

  const std::string& filePath() const { return filePath_; }
  const std::string& section() const { return section_; }
  bool useRegistry() const { return useRegistry_; }
  const std::string& registryPrefix() const { return registryPrefix_; }

 private:
  struct FileBytes {
    std::string content;
    bool exists = false;
    bool readable = true;  // false: it exists but could not be read
  };
  struct Batch {
    std::string path;
    FileBytes file;
    std::string original;
    bool failed = false;
    int depth = 1;
  };

  FileBytes Load(const std::string& path) const;
  // The value as stored, or the default's stored form when it is missing.
  std::string ReadStored(std::string_view key, std::string_view defaultStored);
  bool WriteStored(std::string_view key, std::string_view stored);

  platform::FileSystem& files_;
  std::string filePath_;
  std::string section_;
  bool useRegistry_ = false;
  std::string registryPrefix_;
  std::optional<Batch> batch_;
};

}  // namespace lanzhou::settings
