// The destination dialog: a drive list of the mounted volumes, a folder list, the folder's
// files and a file-name field that mirrors the main window's. It never blocks the main window.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TGlyphMessageBox;

struct TVolume
{
    QString rootPath;
    QString name;
    bool ready = true;
};

// The volumes offered in the drive list; the default lists this machine's mounted volumes.
using VolumeSource = std::function<QList<TVolume>()>;
QList<TVolume> mountedVolumes();

class TSave_as : public QDialog
{
    Q_OBJECT
public:
    TSave_as(TGlyphMessageBox& messageBox, const QString& startFolder, QWidget* parent,
             VolumeSource volumes = mountedVolumes);

    QString path() const { return m_path; }
    // Moves the folder list (and with it the file list) to folder.
    void setPath(const QString& folder);
    QString fileName() const;
    void setFileName(const QString& name);
    // Escape and the close box act as Cancel.
    void reject() override;

signals:
    void fileNameEdited(const QString& name);
    void accepted(const QString& folder);
    void cancelled();

private:
    void buildControls();
    void fillDrives();
    void selectDriveOf(const QString& folder);
    void Drive1Change(int index);
    void Dir1DblClick(QListWidgetItem* item);
    void File1Click(QListWidgetItem* item);
    void Command1Click();
    void Command2Click();
    void fillFolders();
    void fillFiles();

    TGlyphMessageBox& m_messageBox;
    VolumeSource m_volumes;
    QList<TVolume> m_volumeList;
    QString m_path;
    QComboBox* Drive1 = nullptr;
    QLabel* m_pathLabel = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};
