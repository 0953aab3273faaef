// Not a test: shows the build tools' windows filled with a real listing and HEX file and saves
// a picture of each (QWidget::grab) into the folder given as the first argument, for looking at
// the layouts. Usage: build_qt_gallery OUTPUT_FOLDER (the sample program is assembled there).
#include "build/qt/ASMList.h"
#include "build/qt/DataLists.h"
#include "build/qt/DummyVirtualForm.h"
#include "build/qt/ProcessLauncher.h"
#include "build/qt/ToolPathForms.h"
#include "editor/widget/SourceMemo.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>

#include <filesystem>
#include <string>

namespace {

void save(QWidget& window, const std::string& folder, const char* name)
{
    window.setEnabled(true); // as while the window is in use
    window.show();
    QApplication::processEvents();
    window.grab().save(QString::fromStdString(folder + "/" + name + ".png"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];
    const std::string ini = folder + "/ZBX.INI";
    const std::string source = folder + "/LED877.ASM";
    std::filesystem::copy_file(std::string(ZBX_SOURCE_DIR) + "/tests/build/data/LED877.ASM", source,
                               std::filesystem::copy_options::overwrite_existing);
    TProcessLauncher launcher;
    launcher.ExecuteAndWait(std::string(ZBX_STAGED_INC_DIR) + "/MPASMWIN.EXE",
                            source + " /e+ /l+ /x- /w2 /c- /m- /q");

    TASMList asmList(ini, std::string(ZBX_STAGED_INC_DIR) + "/", launcher);
    asmList.setListingPath(source);
    asmList.loadListing();
    save(asmList, folder, "asm_list");

    THEXList hexList(ini);
    TDATAList dataList(ini);
    LoadHexFile(hexList, dataList, folder + "/LED877.HEX");
    save(hexList, folder, "hex_list");
    save(dataList, folder, "data_list");

    TDummy_Virtual_Form busy;
    save(busy, folder, "busy_box");

    TIniFile(ini).WriteString("EPIC", "PATHNAME", "C:\\EPIC\\EPICWIN.EXE");
    TIniFile(ini).WriteString("EXT_PROG", "NAME", "PicKit");
    TIniFile(ini).WriteString("EXT_PROG", "CMD_LINE", "-p%PIC -f%FULL");
    TEPICPath epic(ini);
    epic.FormActivate();
    save(epic, folder, "epic_path");
    TFind_MELOADER meloader(ini);
    meloader.FormActivate();
    save(meloader, folder, "find_meloader");
    TProgPath prog(ini);
    prog.FormActivate();
    save(prog, folder, "prog_path");
    TBootloader_Parameters boot(ini);
    boot.FormActivate();
    save(boot, folder, "bootloader_parameters");
    return 0;
}
