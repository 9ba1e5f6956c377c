// The floor for the window-level figures: the smallest Qt Widgets program,
// built like the setup program, that shows one titled window and idles.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Minimal Qt window"));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Nothing here")));
  window.resize(640, 480);
  window.show();
  return application.exec();
}
