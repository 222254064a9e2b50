// The application profile's file: an INI file of "[section]" lines and
// "entry=value" lines, read afresh on every look-up and written atomically
// on every change (or once for a held run of changes), so a crash or a full
// disk never leaves half a profile.
#pragma once

#include <optional>
#include <string>

// One INI file. Section and entry names compare without regard to case.
// Damaged parts (binary junk, over-long lines, lines that are neither a
// section nor an entry, entries before the first section) are skipped, so
// they read as absent; when a section appears twice, the first entry found
// in file order wins.
class TessivIniFile {
public:
    explicit TessivIniFile(std::string path);

    std::string const &Path() const { return path_; }

    // The entry's value, or nothing when the file, the section or the entry
    // is missing or damaged.
    std::optional<std::string> Get(char const *section, char const *entry) const;

    // Sets the entry; a null value removes the entry, a null entry the whole
    // section. The file is rewritten through a temporary file in the same
    // folder (created if needed), synced and renamed over the old one.
    // Returns false, with the old file untouched, when the names or the value
    // cannot be stored in the format (line breaks, '=' or '[' in an entry
    // name) or the file cannot be written.
    bool Write(char const *section, char const *entry, char const *value);

    // Holds later writes in memory, where Get reads them, until Flush writes
    // the file once, the same way Write does: a save of many entries then
    // costs one rewrite and sync instead of one per entry.
    void Hold();
    // Writes what was held since Hold, if anything changed, and stops holding.
    // False, with the old file untouched, when the file cannot be written.
    bool Flush();

    // $XDG_CONFIG_HOME/<application>/profile.ini, or ~/.config/... when that
    // variable is unset or not an absolute path. A null or empty application
    // name stands for the executable's file name.
    static std::string DefaultPath(char const *application_name);

    // Files longer than this, and lines longer than kMaxLineLength, are read
    // only up to the limit / skipped.
    static constexpr std::size_t kMaxFileSize = 16 << 20;
    static constexpr std::size_t kMaxLineLength = 64 << 10;

private:
    // The file's text, or the held text while there is one.
    std::string Content() const;
    // Writes the text to the file, or holds it.
    bool Store(std::string text);

    std::string path_;
    bool holding_ = false;
    // The file's text with the held writes, once one was made.
    std::optional<std::string> held_;
};
