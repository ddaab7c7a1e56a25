#pragma once
// Writing a drawn picture to a file in the format its name's extension names.

#include <string>
#include <string_view>

class QImage;

namespace koltar {

// The Qt image format for a file name's extension, letter case ignored: "PNG", "BMP",
// "PPM" or "JPG" for .png, .bmp, .ppm, .jpg and .jpeg; "PNG" for any other name.
const char* PictureFormatOf(std::string_view fileName);

// Writes the image to `fileName` (UTF-8) in the format PictureFormatOf names (JPEG at
// quality 95); false when it cannot be written.
[[nodiscard]] bool SavePicture(const QImage& image, const std::string& fileName);

}  // namespace koltar
