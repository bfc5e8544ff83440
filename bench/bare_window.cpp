// The yardstick for start-up: a bare Qt window that paints once and exits.

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
    painted = true;
  }

 public:
  bool painted = false;
};

}  // namespace

int BareWindowChild(int argc, char** argv) {
  QApplication app(argc, argv);
  Bare w;
  w.resize(524, 384);
  w.show();
  while (!w.painted) QCoreApplication::processEvents();
  _exit(0);
}
