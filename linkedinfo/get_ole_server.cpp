#include "linkedinfo/get_ole_server.h"

#include <algorithm>
#include <set>

#include "platform/text.h"

namespace koltar {

GetOLEServer::GetOLEServer(std::string_view filePath, std::vector<ApplicationInfo> applications)
    : filePath_(filePath) {
  std::stable_sort(applications.begin(), applications.end(),
                   [](const ApplicationInfo& a, const ApplicationInfo& b) {
                     if (a.opensType != b.opensType) return a.opensType;
                     const int order = CompareNoCase(a.name, b.name);
                     return order != 0 ? order < 0 : a.name < b.name;
                   });
  std::set<std::string> listed;
  for (ApplicationInfo& app : applications)
    if (!app.name.empty() && listed.insert(app.name).second) entries_.push_back(std::move(app));
}

void GetOLEServer::Select(std::int32_t row) { selected_ = row >= 0 && row < count() ? row : -1; }

bool GetOLEServer::DoubleClick(std::int32_t row) {
  Select(row);
  return okEnabled();
}

void GetOLEServer::Accept() { result_ = selected_ >= 0 ? entry(selected_).id : std::string(); }

}  // namespace koltar
