#pragma once
// File names as description files write them, and the files of this machine they name.
//
// Description files come from DOS and Windows: names such as "E:\MAPS\ROADS.DAT", with
// backslashes, drive letters and letter case that does not match the stored file. The
// model keeps such names unchanged (code page 1250); LocalFileName turns one into a
// path of this machine only when a file is opened.

#include <filesystem>
#include <string>
#include <string_view>

namespace koltar {

// A path split into drive ("E:"), directory ("\MAPS\", with its closing separator),
// name ("ROADS") and extension (".DAT", with its dot). Both '\' and '/' separate
// directories; a letter followed by ':' at the start is a drive.
struct PathParts {
  std::string drive;
  std::string dir;
  std::string name;
  std::string ext;
};

PathParts SplitPath(std::string_view path);

// A file name written in a description file, resolved against a base path (the map
// file's drive and directory): the written name's drive if it has one, else the base's;
// the written name's directory if it has one, else the base's; then the written name's
// own name and extension. The directory is taken whole from one side, never joined.
std::string ResolveFileName(std::string_view base, std::string_view written);

// The drive and directory of a path, with its closing separator.
std::string GetPathDirectory(std::string_view path);

// The file of this machine that a model file name (code page 1250) names: converted to
// UTF-8, backslashes turned into slashes, and a drive letter dropped with the rest of
// the path kept ("E:\MAPS\A.DAT" names /MAPS/A.DAT, "E:A.DAT" names A.DAT in the
// current directory). When that exact name does not exist, each component is matched
// without regard to letter case against its directory's entries, so "ROADS.DAT" finds
// roads.dat; components that match nothing are kept as written (a file to be created).
std::filesystem::path LocalFileName(std::string_view modelName);

// The model name (code page 1250) of a path of this machine, such as a file the user
// chose in a dialog.
std::string ModelFileName(const std::filesystem::path& local);

}  // namespace koltar
