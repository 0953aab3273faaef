// The Find in Files window's controls and its run of the search.
#include "ide/FindInFilesForm.h"

#include "platform/FileDialogs.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Events run at least this often during a search; more often only costs time.
constexpr int kEventSliceMs = 20;
// "1 file", "2 files": the summary reads as a sentence.
QString counted(size_t count, const char* noun)
{
    return QString("%1 %2%3").arg(count).arg(noun).arg(count == 1 ? "" : "s");
}
} // namespace

TFindInFilesForm::TFindInFilesForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("FindInFilesForm");
    setWindowTitle("Find in Files");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    TextEdit = new QLineEdit(this);
    TextEdit->setObjectName("TextEdit");
    form->addRow("Text to &find:", TextEdit);
    auto* folderRow = new QHBoxLayout;
    FolderEdit = new QLineEdit(this);
    FolderEdit->setObjectName("FolderEdit");
    BrowseButton = new QPushButton("...", this);
    BrowseButton->setObjectName("BrowseButton");
    BrowseButton->setToolTip("Choose the folder to search");
    folderRow->addWidget(FolderEdit, 1);
    folderRow->addWidget(BrowseButton);
    // A row label given as text gets its field as buddy only when the field is a widget;
    // this row holds a layout, so its label names the line edit itself (else "&" shows).
    auto* folderLabel = new QLabel("F&older:", this);
    folderLabel->setBuddy(FolderEdit);
    form->addRow(folderLabel, folderRow);
    PatternsEdit = new QLineEdit("*.bas;*.inc", this);
    PatternsEdit->setObjectName("PatternsEdit");
    PatternsEdit->setToolTip("File name patterns separated by \";\"");
    form->addRow("File &types:", PatternsEdit);
    layout->addLayout(form);
    auto* options = new QHBoxLayout;
    CaseCheck = new QCheckBox("Match &case", this);
    CaseCheck->setObjectName("CaseCheck");
    WholeWordCheck = new QCheckBox("&Whole words only", this);
    WholeWordCheck->setObjectName("WholeWordCheck");
    SubfoldersCheck = new QCheckBox("Include &subfolders", this);
    SubfoldersCheck->setObjectName("SubfoldersCheck");
    SubfoldersCheck->setChecked(true);
    options->addWidget(CaseCheck);
    options->addWidget(WholeWordCheck);
    options->addWidget(SubfoldersCheck);
    options->addStretch(1);
    FindButton = new QPushButton("Find", this);
    FindButton->setObjectName("FindButton");
    FindButton->setDefault(true);
    StopButton = new QPushButton("Stop", this);
    StopButton->setObjectName("StopButton");
    StopButton->setEnabled(false);
    options->addWidget(FindButton);
    options->addWidget(StopButton);
    layout->addLayout(options);
    ResultList = new QListWidget(this);
    ResultList->setObjectName("ResultList");
    ResultList->setUniformItemSizes(true);
    layout->addWidget(ResultList, 1);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName("StatusLabel");
    layout->addWidget(StatusLabel);
    connect(BrowseButton, &QPushButton::clicked, this, &TFindInFilesForm::BrowseButtonClick);
    connect(FindButton, &QPushButton::clicked, this, &TFindInFilesForm::FindButtonClick);
    connect(StopButton, &QPushButton::clicked, this, &TFindInFilesForm::StopButtonClick);
    connect(TextEdit, &QLineEdit::returnPressed, this, &TFindInFilesForm::FindButtonClick);
    connect(ResultList, &QListWidget::itemActivated, this, &TFindInFilesForm::openItem);
    m_search.OnFileHits = [this](const TFileHits& found) { addHits(found); };
    m_search.OnLooking = [this](const std::string& folder) {
        StatusLabel->setText("Searching " + localToQString(folder));
    };
    m_search.ProcessMessages = [this] { letEventsRun(); };
    resize(720, 480);
}

TFindInFilesForm::~TFindInFilesForm()
{
    m_search.stop();
}

void TFindInFilesForm::showFor(const QString& folder, const QString& text)
{
    if (!folder.isEmpty() && !m_searching)
        FolderEdit->setText(folder);
    if (!text.isEmpty())
        TextEdit->setText(text);
    show();
    raise();
    activateWindow();
    TextEdit->setFocus();
    TextEdit->selectAll();
}

void TFindInFilesForm::BrowseButtonClick()
{
    TFileDialogRequest request;
    request.kind = TFileDialogKind::ChooseFolder;
    request.title = "Folder to search";
    request.initialFolder = qStringToLocal(FolderEdit->text());
    if (const auto chosen = fileDialogs().run(request))
        FolderEdit->setText(localToQString(*chosen));
}

void TFindInFilesForm::FindButtonClick()
{
    if (m_searching)
        return;
    TFindInFilesQuery query;
    query.folder = qStringToLocal(FolderEdit->text().trimmed());
    query.patterns = qStringToLocal(PatternsEdit->text().trimmed());
    if (query.patterns.empty())
        query.patterns = "*.*";
    query.text = qStringToLocal(TextEdit->text());
    query.caseSense = CaseCheck->isChecked();
    query.wholeWord = WholeWordCheck->isChecked();
    query.subfolders = SubfoldersCheck->isChecked();
    if (query.text.empty() || query.folder.empty()) {
        StatusLabel->setText(query.text.empty() ? "Type the text to find." : "Name the folder to search.");
        return;
    }
    ResultList->clear();
    setSearching(true);
    m_sinceEvents.start();
    m_search.run(query);
    setSearching(false);
    QString summary = QString("%1 in %2 (%3 looked at)")
                          .arg(counted(m_search.hitCount(), "matching line"))
                          .arg(counted(m_search.filesMatched(), "file"))
                          .arg(counted(m_search.filesLookedAt(), "file"));
    if (m_search.limitReached())
        summary += QString("; stopped at %1 lines").arg(TFindInFiles::kMaxHits);
    else if (m_search.stopped())
        summary += "; stopped";
    if (!m_search.errors().empty())
        summary += QString("; %1 could not be read").arg(counted(m_search.errors().size(), "file"));
    StatusLabel->setText(summary);
}

void TFindInFilesForm::StopButtonClick()
{
    m_search.stop();
}

void TFindInFilesForm::setSearching(bool searching)
{
    m_searching = searching;
    FindButton->setEnabled(!searching);
    StopButton->setEnabled(searching);
    for (QWidget* field : {static_cast<QWidget*>(FolderEdit), static_cast<QWidget*>(PatternsEdit),
                           static_cast<QWidget*>(TextEdit), static_cast<QWidget*>(BrowseButton)})
        field->setEnabled(!searching);
}

void TFindInFilesForm::addHits(const TFileHits& found)
{
    const QString path = localToQString(found.path);
    for (const TLineHit& hit : found.hits) {
        auto* item = new QListWidgetItem(QString("%1(%2): %3").arg(path).arg(hit.line).arg(cp1252ToQString(hit.text)));
        item->setData(PathRole, path);
        item->setData(LineRole, static_cast<qlonglong>(hit.line));
        ResultList->addItem(item);
    }
}

void TFindInFilesForm::letEventsRun()
{
    if (m_sinceEvents.elapsed() < kEventSliceMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_sinceEvents.restart();
}

void TFindInFilesForm::openItem(QListWidgetItem* item)
{
    if (item && OnOpenHit)
        OnOpenHit(item->data(PathRole).toString(), item->data(LineRole).toLongLong());
}

void TFindInFilesForm::closeEvent(QCloseEvent* event)
{
    m_search.stop();
    QWidget::closeEvent(event);
}

void TFindInFilesForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_searching)
            m_search.stop();
        else
            close();
        return;
    }
    QWidget::keyPressEvent(event);
}
