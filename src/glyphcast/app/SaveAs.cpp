#include "glyphcast/app/SaveAs.h"

#include "glyphcast/app/GlyphServices.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>

namespace {
const QString ParentEntry = QStringLiteral("[..]");
}

QList<TVolume> mountedVolumes()
{
    QList<TVolume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        const bool ready = info.isValid() && info.isReady() && QDir(info.rootPath()).isReadable();
        volumes.push_back({info.rootPath(), info.displayName(), ready});
    }
    return volumes;
}

TSave_as::TSave_as(TGlyphMessageBox& messageBox, const QString& startFolder, QWidget* parent,
                   VolumeSource volumes)
    : QDialog(parent), m_messageBox(messageBox), m_volumes(std::move(volumes))
{
    setObjectName("Save_as");
    setWindowTitle("Where do you want to save the resulting file?");
    setModal(false);
    buildControls();
    fillDrives();
    setPath(startFolder);
}

void TSave_as::buildControls()
{
    setFixedSize(420, 330);
    Drive1 = new QComboBox(this);
    Drive1->setObjectName("Drive1");
    Drive1->setGeometry(10, 10, 190, 24);
    m_pathLabel = new QLabel(this);
    m_pathLabel->setGeometry(10, 40, 190, 20);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName("Dir1");
    Dir1->setGeometry(10, 62, 190, 210);
    File1 = new QListWidget(this);
    File1->setObjectName("File1");
    File1->setGeometry(210, 10, 200, 202);
    auto* nameCaption = new QLabel("Name of File", this);
    nameCaption->setGeometry(210, 218, 200, 20);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setGeometry(210, 240, 200, 24);
    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setGeometry(210, 290, 95, 28);
    Command2 = new QPushButton("Cancel", this);
    Command2->setObjectName("Command2");
    Command2->setGeometry(315, 290, 95, 28);

    connect(Drive1, &QComboBox::activated, this, &TSave_as::Drive1Change);
    connect(Dir1, &QListWidget::itemDoubleClicked, this, &TSave_as::Dir1DblClick);
    connect(File1, &QListWidget::itemClicked, this, &TSave_as::File1Click);
    connect(Text1, &QLineEdit::textChanged, this, &TSave_as::fileNameEdited);
    connect(Command1, &QPushButton::clicked, this, &TSave_as::Command1Click);
    connect(Command2, &QPushButton::clicked, this, &TSave_as::Command2Click);
}

void TSave_as::fillDrives()
{
    m_volumeList = m_volumes();
    Drive1->clear();
    for (const TVolume& volume : m_volumeList) {
        const QString label = volume.name.isEmpty() || volume.name == volume.rootPath
                                  ? volume.rootPath
                                  : volume.rootPath + "  [" + volume.name + "]";
        Drive1->addItem(label);
    }
}

// The drive of a folder is the volume with the longest root that contains it.
void TSave_as::selectDriveOf(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_volumeList.size(); ++i) {
        const QString root = m_volumeList[i].rootPath;
        const bool contains =
            folder == root || folder.startsWith(root.endsWith('/') ? root : root + '/');
        if (contains && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    Drive1->setCurrentIndex(best);
}

void TSave_as::setPath(const QString& folder)
{
    m_path = QDir::cleanPath(QDir(folder).absolutePath());
    m_pathLabel->setText(m_path);
    m_pathLabel->setToolTip(m_path);
    selectDriveOf(m_path);
    fillFolders();
    fillFiles();
}

QString TSave_as::fileName() const
{
    return Text1->text();
}

void TSave_as::setFileName(const QString& name)
{
    if (Text1->text() != name)
        Text1->setText(name);
}

void TSave_as::Drive1Change(int index)
{
    if (index < 0 || index >= m_volumeList.size())
        return;
    const TVolume& volume = m_volumeList[index];
    if (!volume.ready) {
        selectDriveOf(m_path);
        m_messageBox.showMessage(TMessageKind::Error, windowTitle(), " Drive not ready ! ");
        return;
    }
    setPath(volume.rootPath);
}

void TSave_as::Dir1DblClick(QListWidgetItem* item)
{
    QDir folder(m_path);
    if (item->text() == ParentEntry)
        folder.cdUp();
    else
        folder.cd(item->text());
    setPath(folder.absolutePath());
}

void TSave_as::File1Click(QListWidgetItem* item)
{
    Text1->setText(item->text().trimmed());
}

void TSave_as::fillFolders()
{
    Dir1->clear();
    QDir folder(m_path);
    if (!folder.isRoot())
        Dir1->addItem(ParentEntry);
    Dir1->addItems(
        folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void TSave_as::fillFiles()
{
    File1->clear();
    File1->addItems(QDir(m_path).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void TSave_as::Command1Click()
{
    emit accepted(m_path);
    Command2Click();
}

void TSave_as::Command2Click()
{
    hide();
    emit cancelled();
}

// Escape and the close box act as Cancel, so the main window always gets its size back.
void TSave_as::reject()
{
    Command2Click();
}
