#include "build/ToolMenus.h"
#include "build/ListingWindows.h"
#include "build/ToolPathDialogs.h"

#include <gtest/gtest.h>

TEST(ToolMenus, ProgrammerClicksWriteTheirKeyAndUnknownStoredValuesChangeNothing)
{
    TProgrammerMenu menu;
    EXPECT_EQ(menu.checked(), ProgrammerType::Epic);
    EXPECT_EQ(menu.choose(ProgrammerType::Other), "OTHER");
    menu.applyStoredType("epic");
    EXPECT_EQ(menu.checked(), ProgrammerType::Other);
    menu.applyStoredType("EPIC");
    EXPECT_EQ(menu.checked(), ProgrammerType::Epic);
}

TEST(ToolMenus, KaltorIrIsCheckedOnlyWhileAvailable)
{
    TBootloaderMenu menu;
    EXPECT_TRUE(menu.isChecked(BootloaderType::Standard));
    EXPECT_EQ(menu.choose(BootloaderType::KaltorIr), std::nullopt);
    EXPECT_TRUE(menu.isChecked(BootloaderType::Standard));

    // A stored KALTOR_IR without its program leaves every item unchecked; Download then
    // takes the KALTOR IR path, whose fallback picks Standard and tells the user.
    menu.applyStoredType("KALTOR_IR");
    EXPECT_TRUE(menu.check());
    for (BootloaderType type : {BootloaderType::Standard, BootloaderType::MELoader,
                                BootloaderType::KaltorIr, BootloaderType::Other})
        EXPECT_FALSE(menu.isChecked(type));
    EXPECT_EQ(menu.downloadType(), BootloaderType::KaltorIr);

    menu.makeKaltorIrAvailable();
    EXPECT_EQ(menu.choose(BootloaderType::KaltorIr), "KALTOR_IR");
    EXPECT_EQ(menu.downloadType(), BootloaderType::KaltorIr);
    EXPECT_EQ(menu.choose(BootloaderType::Other), "OTHER");
    EXPECT_FALSE(menu.isChecked(BootloaderType::KaltorIr));
    EXPECT_EQ(menu.downloadType(), BootloaderType::Other);
    menu.applyStoredType("Standard");
    EXPECT_TRUE(menu.isChecked(BootloaderType::Other));
    EXPECT_TRUE(menu.check());
}

TEST(ToolMenus, FallBackHidesKaltorIrAndChoosesStandard)
{
    TBootloaderMenu menu;
    menu.makeKaltorIrAvailable();
    menu.applyStoredType("KALTOR_IR");
    ASSERT_TRUE(menu.isChecked(BootloaderType::KaltorIr));
    EXPECT_EQ(menu.fallBackToStandard(), "STANDARD");
    EXPECT_FALSE(menu.kaltorIrAvailable());
    EXPECT_FALSE(menu.isChecked(BootloaderType::KaltorIr));
    EXPECT_TRUE(menu.isChecked(BootloaderType::Standard));
    EXPECT_EQ(menu.downloadType(), BootloaderType::Standard);
    EXPECT_TRUE(menu.check());
}

TEST(ToolPathDialogs, OnlyBrowsingChangesTheRememberedPath)
{
    TProgramPathDialog dialog;
    dialog.activate(std::nullopt);
    EXPECT_EQ(dialog.path(), "");
    dialog.activate("C:\\EPIC\\EPICWIN.EXE");
    dialog.browsed(std::nullopt);
    EXPECT_EQ(dialog.path(), "C:\\EPIC\\EPICWIN.EXE");
    dialog.browsed("D:\\NEW\\EPICWIN.EXE");
    dialog.activate(std::nullopt); // nothing stored: the remembered path stays
    EXPECT_EQ(dialog.path(), "D:\\NEW\\EPICWIN.EXE");

    EXPECT_EQ(acceptUserTool("", "C:\\P.EXE", "%FULL"),
              (TUserToolSettings{"Undefined", "C:\\P.EXE", "%FULL"}));
    EXPECT_EQ(acceptUserTool("MyLoader", "", "").name, "MyLoader");
}

TEST(ListingWindows, StoredGeometryIsKeptAndMissingSizesAreTheDesignSize)
{
    const TWindowGeometry screen{0, 0, 1280, 1000};
    EXPECT_EQ(listingWindowGeometry(ListingWindow::ProgramData, 10, 20, 300, 200, screen),
              (TWindowGeometry{10, 20, 300, 200}));
    EXPECT_EQ(listingWindowGeometry(ListingWindow::EepromData, -5, 7, 0, 150, screen),
              (TWindowGeometry{-5, 7, 481, 150}));
}

// On a first start the windows opened at (0, 0), over the main window's menu.
TEST(ListingWindows, FirstStartOpensEachWindowInsideTheScreenBelowTheMenusNotAtTheOrigin)
{
    for (const TWindowGeometry screen : {TWindowGeometry{0, 0, 1280, 1000}, TWindowGeometry{1920, 30, 800, 600},
                                         TWindowGeometry{0, 0, 300, 200}}) {
        int previousLeft = -1;
        for (const ListingWindow window :
             {ListingWindow::Assembler, ListingWindow::ProgramData, ListingWindow::EepromData}) {
            const TWindowGeometry g = listingWindowGeometry(window, {}, {}, {}, {}, screen);
            // The shipped settings file holds every key at 0: that is a first start too.
            EXPECT_EQ(listingWindowGeometry(window, 0, 0, 0, 0, screen), g);
            EXPECT_EQ(g.width, listingWindowDesignSize(window).width);
            EXPECT_GE(g.left, screen.left);
            EXPECT_GE(g.top, screen.top);
            if (screen.width >= 800) {
                EXPECT_LE(g.left + g.width, screen.left + screen.width);
                EXPECT_LE(g.top + g.height, screen.top + screen.height);
                EXPECT_GE(g.top, screen.top + 100); // clear of the menu and tool bar
                EXPECT_NE(g.left, previousLeft);    // the three do not cover each other exactly
            }
            previousLeft = g.left;
        }
    }
}
