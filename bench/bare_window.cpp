// The yardsticks for start-up: a bare Qt window that paints once and exits, with or
// without a line of text (text brings in the font machinery).

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <unistd.h>

namespace {

class Bare : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawLine(0, 0, width(), height());
    if (withText) p.drawText(10, 20, QStringLiteral("December, 2026  6 / 26"));
    painted = true;
  }

 public:
  bool painted = false;
  bool withText = false;
};

}  // namespace

int BareWindowChild(int argc, char** argv, bool withText) {
  QApplication app(argc, argv);
  Bare w;
  w.withText = withText;
  w.resize(524, 384);
  w.show();
  while (!w.painted) QCoreApplication::processEvents();
  _exit(0);
}
