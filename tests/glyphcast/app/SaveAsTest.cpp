// The destination dialog's drive, folder and file lists.
#include "TestServices.h"

#include "glyphcast/app/SaveAs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct SaveAsFixture : ::testing::Test
{
    TRecordingMessageBox messageBox;
    QTemporaryDir root;
    QTemporaryDir elsewhere;
    QList<TVolume> volumes;
    std::unique_ptr<TSave_as> dialog;

    SaveAsFixture()
    {
        ensureApplication();
        QDir(root.path()).mkdir("sub");
        QFile file(QDir(root.path()).filePath("sub/FONT.TXT"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        volumes = {{root.path(), "data", true}, {elsewhere.path(), "card", false}};
        dialog = std::make_unique<TSave_as>(messageBox, root.path(), nullptr,
                                            [this] { return volumes; });
    }

    template <typename T> T* child(const char* name) const { return dialog->findChild<T*>(name); }
};

} // namespace

TEST_F(SaveAsFixture, FoldersListFilesAndAClickedFileNamesTheResult)
{
    EXPECT_EQ(dialog->windowTitle(), "Where do you want to save the resulting file?");
    EXPECT_FALSE(dialog->isModal());
    auto* folders = child<QListWidget>("Dir1");
    auto items = folders->findItems("sub", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    emit folders->itemDoubleClicked(items[0]);
    EXPECT_EQ(dialog->path(), QDir(root.path()).absoluteFilePath("sub"));
    auto* files = child<QListWidget>("File1");
    ASSERT_EQ(files->count(), 1);
    QSignalSpy edited(dialog.get(), &TSave_as::fileNameEdited);
    emit files->itemClicked(files->item(0));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), "FONT.TXT");
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0][0].toString(), "FONT.TXT");
    emit folders->itemDoubleClicked(folders->item(0)); // back up
    EXPECT_EQ(dialog->path(), QDir(root.path()).absolutePath());
}

TEST_F(SaveAsFixture, UnreadableDriveIsRefusedWithAMessage)
{
    auto* drives = child<QComboBox>("Drive1");
    ASSERT_EQ(drives->count(), 2);
    EXPECT_EQ(drives->currentIndex(), 0);
    drives->setCurrentIndex(1);
    emit drives->activated(1);
    ASSERT_EQ(messageBox.shown.size(), 1);
    EXPECT_EQ(messageBox.shown[0].text, " Drive not ready ! ");
    EXPECT_EQ(drives->currentIndex(), 0);
    EXPECT_EQ(dialog->path(), QDir(root.path()).absolutePath());

    volumes[1].ready = true;
    dialog =
        std::make_unique<TSave_as>(messageBox, root.path(), nullptr, [this] { return volumes; });
    child<QComboBox>("Drive1")->setCurrentIndex(1);
    emit child<QComboBox>("Drive1")->activated(1);
    EXPECT_EQ(dialog->path(), QDir(elsewhere.path()).absolutePath());
    EXPECT_EQ(messageBox.shown.size(), 1);
}

TEST_F(SaveAsFixture, OkReportsTheFolderAndEveryCloseCancels)
{
    QSignalSpy accepted(dialog.get(), &TSave_as::accepted);
    QSignalSpy cancelled(dialog.get(), &TSave_as::cancelled);
    dialog->show();
    child<QPushButton>("Command1")->click();
    ASSERT_EQ(accepted.size(), 1);
    EXPECT_EQ(accepted[0][0].toString(), QDir(root.path()).absolutePath());
    EXPECT_EQ(cancelled.size(), 1);
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    dialog->reject();
    EXPECT_EQ(cancelled.size(), 2);
    EXPECT_EQ(accepted.size(), 1);
}
