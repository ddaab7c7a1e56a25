#pragma once
// Reading and writing single values of INI-style description files (the settings file,
// .map files, symbology and linked-information files).
//
// A file is a sequence of sections; a section starts with a line "[NAME]" and holds
// lines "KEY=VALUE" up to the next section line; a line whose first non-blank character
// is ';' is a comment. A line ends at CR LF, LF or a CR alone. Section and key names match without regard to letter case (code
// page 1250 letter pairs). The first section and the first key of a name win. All text
// is code page 1250; file names are model names (see LocalFileName).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koltar {

// The value of `key` in `section`, with the blanks before and after it removed (and a
// pair of enclosing quotes); `defaultText` without its trailing blanks when the file,
// the section or the key does not exist. An existing key with an empty value gives "". The result is cut to
// capacity - 1 characters, as a reader with a buffer of `capacity` characters sees it.
std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view defaultText,
                              int capacity, std::string_view fileName);

// The leading decimal integer (optional sign, then digits) of the value; the default
// when the file, section or key does not exist or the value is empty; 0 when the value
// does not start with a number. Values beyond 32 bits saturate.
std::int32_t ReadProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                            std::string_view fileName);

// True when a count read from the description file can be true: every entry it counts
// takes a line of the file, so a count beyond the file's size in bytes is damage, and
// reading that many entries would allocate and loop without bound. False for a missing
// file unless the count is 0.
bool CountFitsProfile(std::int64_t count, std::string_view fileName);

// Sets `key` in `section` to `value`, creating the file, the section or the key when
// missing. Only the key's line changes (or one line is added at the end of the
// section's entries, or the section at the end of the file); every other byte of the
// file, its comments, blank lines and line ends, stays as it was. The file is replaced
// atomically: a crash leaves the old or the new file, never a half-written one.
// Returns false, leaving the file untouched, when it cannot be written (no directory,
// empty name, no permission); nothing is shown to the user.
[[nodiscard]] bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                                      std::string_view fileName);

// One value to set: WriteProfileStrings sets many in one replacement of the file.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

// Sets each entry as WriteProfileString would, in order, and replaces the file once, so
// that it holds all of the new values or, when the write fails, none: a write-back of
// many values is never left half done. Entries no file can hold (an empty section or
// key, a key with '=') are left out. False, leaving the file untouched, when it cannot
// be written.
[[nodiscard]] bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, std::string_view fileName);

// Forgets what was read of every file, so the next read goes to the disk. Reads notice
// a file changed on disk by themselves; this is for tests and for files rewritten
// within the same second by another program.
void ForgetProfileFiles();

}  // namespace koltar
