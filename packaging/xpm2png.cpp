// Turns the program's XPM icon into the PNG that desktop icon themes look up.
#include <QImage>
#include <QString>
#include <cstdio>
#include <span>

int main(int argc, char* argv[]) {
  const std::span<char*> args(argv, static_cast<std::size_t>(argc));
  if (args.size() != 3) {
    std::fputs("usage: tavolen-xpm2png ICON.xpm ICON.png\n", stderr);
    return 2;
  }
  QImage image;
  if (!image.load(QString::fromLocal8Bit(args[1]), "XPM")) {
    std::fprintf(stderr, "tavolen-xpm2png: cannot read %s as XPM\n", args[1]);
    return 1;
  }
  if (!image.save(QString::fromLocal8Bit(args[2]), "PNG")) {
    std::fprintf(stderr, "tavolen-xpm2png: cannot write %s\n", args[2]);
    return 1;
  }
  return 0;
}
