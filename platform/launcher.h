#pragma once
// Opening a file with an application, by the file's type: the desktop's own association
// of types with applications, its list of applications, and starting one on a file.
// Applications are started with the file as one argument of their command, never
// through a shell, so that any file name opens exactly that file.

#include <string>
#include <string_view>
#include <vector>

namespace koltar {

// An application the desktop knows.
struct ApplicationInfo {
  std::string id;          // the platform's name for it (a desktop entry's id)
  std::string name;        // the name shown to the user, code page 1250
  bool opensType = false;  // it declares that it opens the type of the file asked about
  bool operator==(const ApplicationInfo&) const = default;
};

class FileLauncher {
 public:
  virtual ~FileLauncher() = default;
  // False when the platform can tell nothing about applications at all.
  virtual bool Available() = 0;
  // The id of the application the desktop opens the file's type with; "" for none.
  // `fileName` is a model file name.
  virtual std::string DefaultApplication(std::string_view fileName) = 0;
  // Every application the desktop knows, each marked whether it declares the file's
  // type; in no particular order.
  virtual std::vector<ApplicationInfo> Applications(std::string_view fileName) = 0;
  // Starts the application on the file; false when it could not be started.
  virtual bool Launch(std::string_view applicationId, std::string_view fileName) = 0;
};

}  // namespace koltar
