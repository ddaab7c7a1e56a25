#include "platform/gio/gio_launcher.h"

#include <gio/gio.h>

#include <memory>
#include <set>

#include "platform/paths.h"
#include "platform/text.h"

namespace koltar {
namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct FreeText {
  void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, FreeText>;

// A list of application infos, owned with the infos it holds.
class AppList {
 public:
  explicit AppList(GList* list) : list_(list) {}
  ~AppList() { g_list_free_full(list_, g_object_unref); }
  AppList(const AppList&) = delete;
  AppList& operator=(const AppList&) = delete;

  template <typename F>
  void ForEach(F f) const {
    for (GList* l = list_; l; l = l->next) f(G_APP_INFO(l->data));
  }
  bool empty() const { return list_ == nullptr; }

 private:
  GList* list_;
};

std::string IdOf(GAppInfo* app) {
  const char* id = g_app_info_get_id(app);
  return id ? id : "";
}

std::string TypeOf(std::string_view fileName) { return ContentTypeOf(LocalFileName(fileName)); }

}  // namespace

std::string ContentTypeOf(const std::filesystem::path& file) {
  const GObjectPtr<GFile> gfile(g_file_new_for_path(file.c_str()));
  const GObjectPtr<GFileInfo> info(g_file_query_info(gfile.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                     G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  if (info) {
    const char* type = g_file_info_get_content_type(info.get());
    if (type && *type) return type;
  }
  // A file that cannot be read is known by its name.
  const GText guessed(g_content_type_guess(file.c_str(), nullptr, 0, nullptr));
  return guessed ? std::string(guessed.get()) : std::string();
}

bool GioLauncher::Available() { return !AppList(g_app_info_get_all()).empty(); }

std::string GioLauncher::DefaultApplication(std::string_view fileName) {
  const std::string type = TypeOf(fileName);
  if (type.empty()) return {};
  const GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.c_str(), FALSE));
  return app ? IdOf(app.get()) : std::string();
}

std::vector<ApplicationInfo> GioLauncher::Applications(std::string_view fileName) {
  const std::string type = TypeOf(fileName);
  std::set<std::string> forType;
  if (!type.empty())
    AppList(g_app_info_get_all_for_type(type.c_str())).ForEach([&](GAppInfo* app) {
      forType.insert(IdOf(app));
    });
  std::vector<ApplicationInfo> apps;
  AppList(g_app_info_get_all()).ForEach([&](GAppInfo* app) {
    const std::string id = IdOf(app);
    const bool opens = forType.count(id) > 0;
    // Entries the desktop hides from its menus are offered only for their own types.
    if (id.empty() || (!opens && !g_app_info_should_show(app))) return;
    const char* name = g_app_info_get_display_name(app);
    apps.push_back(ApplicationInfo{id, Utf8ToCp1250(name ? name : id.c_str()), opens});
  });
  return apps;
}

bool GioLauncher::Launch(std::string_view applicationId, std::string_view fileName) {
  GAppInfo* chosen = nullptr;
  const AppList all(g_app_info_get_all());
  all.ForEach([&](GAppInfo* app) {
    if (!chosen && IdOf(app) == applicationId) chosen = app;
  });
  if (!chosen) return false;
  const GObjectPtr<GFile> file(g_file_new_for_path(LocalFileName(fileName).c_str()));
  GList files = {file.get(), nullptr, nullptr};
  GError* error = nullptr;
  const bool started = g_app_info_launch(chosen, &files, nullptr, &error) != FALSE;
  if (error) g_error_free(error);
  return started;
}

}  // namespace koltar
