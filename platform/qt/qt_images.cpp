#include "platform/qt/qt_images.h"

#include <QFile>
#include <QImageReader>

#include "platform/paths.h"

namespace koltar {

QtBitmap::QtBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  image_ = QImage(width, height, QImage::Format_RGB32);
  image_.fill(ToQRgb(kBlack));
}

QtBitmap::QtBitmap(QImage image)
    : image_(image.format() == QImage::Format_RGB32 ? std::move(image)
                                                    : image.convertToFormat(QImage::Format_RGB32)) {}

ColorRef QtBitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return kBlack;
  return ToColorRef(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void QtBitmap::SetPixel(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(color);
}

std::unique_ptr<Bitmap> QtBitmap::Clone() const {
  // QImage shares its pixels until one side writes, so the clone costs nothing now.
  return std::make_unique<QtBitmap>(image_);
}

QImage ToQImage(const Bitmap& bitmap) {
  if (const auto* qt = dynamic_cast<const QtBitmap*>(&bitmap)) return qt->image();
  if (bitmap.width() <= 0 || bitmap.height() <= 0) return {};
  QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) row[x] = ToQRgb(bitmap.GetPixel(x, y));
  }
  return image;
}

std::unique_ptr<Bitmap> QtImageService::CreateBitmap(int width, int height) {
  auto bitmap = std::make_unique<QtBitmap>(width, height);
  if (bitmap->image().isNull()) return nullptr;
  return bitmap;
}

std::unique_ptr<Bitmap> QtImageService::LoadBitmapFile(std::string_view fileName) {
  const QString path = QFile::decodeName(LocalFileName(fileName).c_str());
  QImageReader reader(path, "BMP");
  QImage image = reader.read();
  if (image.isNull()) return nullptr;
  return std::make_unique<QtBitmap>(std::move(image));
}

}  // namespace koltar
