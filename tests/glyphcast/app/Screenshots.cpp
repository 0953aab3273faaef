// Draws the converter window in its main states into PNG files (folder given as argument):
// basic mode, advanced mode, a finished conversion, the Grid page during a run and the
// destination dialog; the converted table is written there too.
#include "TestServices.h"

#include "glyphcast/app/Form1.h"
#include "glyphcast/app/SaveAs.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

void save(QWidget& window, const QString& folder, const char* name)
{
    QApplication::processEvents();
    window.grab().save(QDir(folder).filePath(name));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    TTestServices test;
    TForm1 form(test.services(folder)); // RES_FILE.TXT lands beside the pictures
    form.show();
    save(form, folder, "glyph_basic.png");
    form.controls().Command6->click();
    save(form, folder, "glyph_advanced.png");

    // Stop in the middle of "W" to show the grid while a stepped run waits.
    form.controls().Check1->setChecked(true);
    QTimer poll;
    int waits = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!form.controls().Nextc->isEnabled())
            return;
        if (++waits == 'W' - 31) {
            form.controls().SSTab1->setCurrentIndex(1);
            save(form, folder, "glyph_grid.png");
            form.controls().SSTab1->setCurrentIndex(0);
            form.controls().Check1->setChecked(false);
        }
        form.controls().Nextc->click();
    });
    poll.start(1);
    form.controls().Command1->click();
    poll.stop();
    save(form, folder, "glyph_finished.png");
    form.controls().Command8->click();
    save(*form.saveAsDialog(), folder, "glyph_destination.png");
    return 0;
}
