#include "platform/qt/picture_file.h"

#include <QImage>
#include <QString>
#include <cctype>

namespace koltar {

const char* PictureFormatOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::size_t slash = fileName.find_last_of('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return "PNG";
  std::string ext;
  for (const char c : fileName.substr(dot + 1))
    ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "bmp") return "BMP";
  if (ext == "ppm") return "PPM";
  if (ext == "jpg" || ext == "jpeg") return "JPG";
  return "PNG";
}

bool SavePicture(const QImage& image, const std::string& fileName) {
  const char* format = PictureFormatOf(fileName);
  const int quality = std::string_view(format) == "JPG" ? 95 : -1;
  return image.save(QString::fromStdString(fileName), format, quality);
}

}  // namespace koltar
