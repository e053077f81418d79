// Build tool: enlarges the program's icon by a whole factor into the PNG that
// desktops take from the icon theme. Usage: icon2png <icon.bmp> <factor> <icon.png>
// Every pixel becomes a factor by factor block, never blended, so the pixel
// art stays crisp at every size.
#include <QImage>
#include <QString>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

int Fail(const std::string& what) {
  std::cerr << "icon2png: error: " << what << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: icon2png <icon.bmp> <factor> <icon.png>\n";
    return 2;
  }
  const QString in_path = QString::fromLocal8Bit(argv[1]);
  const QString out_path = QString::fromLocal8Bit(argv[3]);
  char* end = nullptr;
  const long factor = std::strtol(argv[2], &end, 10);
  if (end == argv[2] || *end != '\0' || factor < 1 || factor > 64)
    return Fail(std::string("the factor must be a whole number from 1 to 64, not \"") + argv[2] + "\"");

  QImage icon(in_path);
  if (icon.isNull()) return Fail("cannot read the picture " + in_path.toStdString());
  // Opaque RGB: the icon has no see-through colour, and lintian and the icon
  // caches read plain 8-bit RGB everywhere.
  icon = icon.convertToFormat(QImage::Format_RGB888);
  const int size = static_cast<int>(factor);
  const QImage large = icon.scaled(icon.width() * size, icon.height() * size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!large.save(out_path, "PNG")) return Fail("cannot write " + out_path.toStdString());
  return 0;
}
