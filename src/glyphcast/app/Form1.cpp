// Building the main window: its controls at fixed places, the menus and the wiring.
#include "glyphcast/app/Form1.h"

#include "glyphcast/app/GridView.h"
#include "glyphcast/app/RasterView.h"
#include "glyphcast/app/SaveAs.h"
#include "glyphcast/app/Version.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {

template <typename Widget>
Widget* place(Widget* widget, const char* name, int x, int y, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(x, y, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int width,
              int height = 20)
{
    return place(new QLabel(text, parent), name, x, y, width, height);
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int width,
                    int height = 28)
{
    return place(new QPushButton(text, parent), name, x, y, width, height);
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, int x, int y,
                    bool ticked)
{
    auto* box = place(new QCheckBox(text, parent), name, x, y, 230, 22);
    box->setChecked(ticked);
    return box;
}

QLabel* sunken(QLabel* caption)
{
    caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return caption;
}

QIcon programIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 31, 31);
    const char* rows[] = {"..####..", ".##..##.", "##......", "##.####.",
                          "##...##.", ".##..##.", "..###.#."};
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x)
            if (rows[y][x] == '#')
                painter.fillRect(3 + 3 * x, 5 + 3 * y, 3, 3, QColor(0, 120, 0));
    return QIcon(pixmap);
}

} // namespace

TForm1::TForm1(TGlyphServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_services(std::move(services))
{
    setObjectName("Form1");
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    m_saveAs = new TSave_as(*m_services.messageBox, m_services.programFolder, this);
    connectHandlers();
    FormLoad();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    auto* area = new QWidget(this);
    setCentralWidget(area);
    buildBasicArea(area);
    buildAdvancedFrame(area);
    buildTabs(area);
}

void TForm1::buildBasicArea(QWidget* area)
{
    auto& ui = m_ui;
    ui.fontbox2 = new TRasterView(m_raster, area);
    ui.fontbox2->setObjectName("fontbox2");
    ui.fontbox2->move(10, 6);
    ui.getfont = button(area, "getfont", "Font", 10, 72, 61, 26);
    ui.Label3 = label(area, "Label3", "Name", 84, 6, 40);
    ui.cname = sunken(label(area, "cname", "", 126, 6, 206));
    ui.Label4 = label(area, "Label4", "Size", 84, 30, 40);
    ui.csize = sunken(label(area, "csize", "", 126, 30, 60));
    ui.cbold = label(area, "cbold", "BOLD", 196, 30, 50);
    ui.cItalic = label(area, "cItalic", "ITALIC", 250, 30, 60);
    ui.Label9 = label(area, "Label9", "Label to use within KALTOR", 84, 30, 248);
    ui.Text2 = place(new QLineEdit(area), "Text2", 84, 52, 248, 24);
    ui.Label15 = sunken(label(area, "Label15", "", 84, 52, 248, 24));
    ui.Label_Fichier = label(area, "Label_Fichier", "Name of resulting File", 84, 80, 140, 24);
    ui.Nom_Fichier = place(new QLineEdit(area), "Nom_Fichier", 226, 80, 106, 24);

    QFont status = font();
    status.setBold(true);
    status.setPointSizeF(status.pointSizeF() * 1.3);
    const char* statusNames[] = {"Label12", "Label13", "Label7", "Label10"};
    const char* statusTexts[] = {"Auto Width", "Converting", "Download", "Finished"};
    QLabel** statusLabels[] = {&ui.Label12, &ui.Label13, &ui.Label7, &ui.Label10};
    for (int i = 0; i < 4; ++i) {
        *statusLabels[i] = label(area, statusNames[i], statusTexts[i], 344, 6, 170, 24);
        (*statusLabels[i])->setFont(status);
    }
    ui.Label14 = label(area, "Label14", "The file is now ready and located in :", 344, 30, 170, 48);
    ui.Label14->setWordWrap(true);
    ui.ProgressBar1 = place(new QProgressBar(area), "ProgressBar1", 344, 80, 170, 22);
    ui.ProgressBar1->setRange(0, 100);

    ui.Command1 = button(area, "Command1", "Convert Font", 520, 6, 128);
    ui.Command5 = button(area, "Command5", "Stop Convert", 520, 6, 128);
    ui.Command7 = button(area, "Command7", "New Conversion", 520, 6, 128);
    ui.Command8 = button(area, "Command8", "Destination Directory", 520, 40, 128);

    ui.modeGroup = place(new QGroupBox("MODE", area), "MODE", 656, 2, 142, 56);
    ui.Command4 = button(ui.modeGroup, "Command4", "BASIC", 6, 22, 56, 26);
    ui.Command6 = button(ui.modeGroup, "Command6", "ADVANCED", 64, 22, 72, 26);
    ui.Fin = button(area, "Fin", "Quit", 656, 66, 142, 30);
    ui.Label8 = label(area, "Label8", "V" + glyph::versionNumbers(), 0, 0, 60);
}

void TForm1::buildAdvancedFrame(QWidget* area)
{
    auto& ui = m_ui;
    ui.Advanced_Frame =
        place(new QGroupBox("Advanced Mode", area), "Advanced_Frame", 8, 112, 392, 438);
    buildSettingsBars(ui.Advanced_Frame);
    buildOptionBoxes(ui.Advanced_Frame);
    ui.Command2 =
        button(ui.Advanced_Frame, "Command2", "Auto Width, Height and Offset", 12, 346, 250);
    ui.Label17 = label(ui.Advanced_Frame, "Label17", "Destination Directory :", 12, 380, 200);
    ui.Label16 = sunken(label(ui.Advanced_Frame, "Label16", "", 12, 402, 368, 22));
}

void TForm1::buildSettingsBars(QWidget* frame)
{
    auto& ui = m_ui;
    ui.fontwidth = place(new QScrollBar(Qt::Horizontal, frame), "fontwidth", 12, 28, 250, 18);
    ui.widthCaption = label(frame, "widthCaption", "", 272, 27, 100);
    struct Bar
    {
        QScrollBar** bar;
        QLabel** caption;
        const char* name;
        const char* captionName;
    };
    const Bar bars[] = {{&ui.fontheight, &ui.heightCaption, "fontheight", "heightCaption"},
                        {&ui.offset, &ui.offsetCaption, "offset", "offsetCaption"},
                        {&ui.VScroll1, &ui.bytesHighCaption, "VScroll1", "bytesHighCaption"}};
    for (int i = 0; i < 3; ++i) {
        const int x = 12 + 124 * i;
        *bars[i].bar = place(new QScrollBar(Qt::Vertical, frame), bars[i].name, x, 56, 18, 120);
        *bars[i].caption = label(frame, bars[i].captionName, "", x + 24, 106, 96);
    }
    const struct
    {
        QScrollBar* bar;
        TSettingRange range;
        int value;
    } setup[] = {{ui.fontwidth, TConversionSettings::WidthRange, m_settings.width()},
                 {ui.fontheight, TConversionSettings::HeightRange, m_settings.height()},
                 {ui.offset, TConversionSettings::OffsetRange, m_settings.offset()},
                 {ui.VScroll1, TConversionSettings::BytesHighRange, m_settings.bytesHigh()}};
    for (const auto& s : setup) {
        s.bar->setRange(s.range.minimum, s.range.maximum);
        s.bar->setPageStep(1);
        s.bar->setValue(s.value);
    }
}

void TForm1::buildOptionBoxes(QWidget* frame)
{
    auto& ui = m_ui;
    ui.fixwidth = checkBox(frame, "fixwidth", "Fixed Width font", 12, 186, m_settings.fixedWidth);
    ui.spaceyn =
        checkBox(frame, "spaceyn", "Include space at end of char", 12, 210, m_settings.spaceAtEnd);
    ui.autocal = checkBox(frame, "autocal", "Do auto calc before convert", 12, 234,
                          m_settings.autoCalculate);
    ui.includewidth = checkBox(frame, "includewidth", "Include font width in data", 12, 258,
                               m_settings.includeWidth);
    ui.labelfont = checkBox(frame, "labelfont", "Include label with font data", 12, 282,
                            m_settings.includeLabel);
    ui.labeloffset =
        checkBox(frame, "labeloffset", " -32 Offset for Labels", 12, 306, m_settings.labelOffset);
    ui.offsetbased = checkBox(frame, "offsetbased", "Offset base data", 250, 282, false);
    ui.SED = checkBox(frame, "SED", "SED Format", 250, 306, false);
    ui.offsetbased->hide();
    ui.SED->hide();
    ui.steppedGroup =
        place(new QGroupBox("Stepped conversion", frame), "steppedGroup", 250, 186, 130, 86);
    ui.Nextc = button(ui.steppedGroup, "Nextc", "Next Caracter", 8, 22, 114, 26);
    ui.Check1 = checkBox(ui.steppedGroup, "Check1", "Enabled", 8, 54, false);
    ui.Check1->resize(114, 22);
}

void TForm1::buildTabs(QWidget* area)
{
    auto& ui = m_ui;
    ui.SSTab1 = place(new QTabWidget(area), "SSTab1", 408, 112, 390, 438);

    auto* dataPage = new QWidget;
    ui.Text1 = place(new QPlainTextEdit(dataPage), "Text1", 4, 4, 376, 330);
    ui.Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui.Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    label(dataPage, "xcaption", "X", 4, 342, 14);
    ui.xlabel = sunken(label(dataPage, "xlabel", "0", 20, 342, 40));
    label(dataPage, "ycaption", "Y", 70, 342, 14);
    ui.ylabel = sunken(label(dataPage, "ylabel", "0", 86, 342, 40));
    ui.Command3 =
        button(dataPage, "Command3", "Insert Data into to Kaltor Plus and Quit", 4, 370, 376);
    ui.SSTab1->addTab(dataPage, "Data");

    auto* gridPage = new QWidget;
    ui.Shape1 = new TGridView(m_grid, gridPage);
    ui.Shape1->setObjectName("Shape1");
    ui.Shape1->move(62, 8);
    auto* note =
        label(gridPage, "gridNote",
              "Please note although leading spaces are shown they will be removed in the data file",
              8, 272, 370, 40);
    note->setWordWrap(true);
    ui.SSTab1->addTab(gridPage, "Grid");

    auto* about = new QWidget;
    auto* icon = label(about, "aboutIcon", "", 12, 12, 32, 32);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    auto* text =
        label(about, "aboutText",
              "Glyphcast Version " + glyph::versionNumbers() +
                  "\n\nTurns the characters 32 to 127 of a font into column data for graphic "
                  "LCDs.\n\nWritten for the KALTOR+ BASIC compiler and its IDE.",
              56, 12, 320, 160);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    ui.SSTab1->addTab(about, "About");
}

void TForm1::buildMenus()
{
    QMenu* file = menuBar()->addMenu("File");
    file->addAction("Destination Directory", this, &TForm1::Command8Click);
    file->addAction(QString(26, '_'))->setEnabled(false);
    file->addAction("Exit", this, &TForm1::ExitClick);
    QMenu* help = menuBar()->addMenu("?");
    help->addAction("About", this, &TForm1::AboutClick);
}

void TForm1::connectHandlers()
{
    auto& ui = m_ui;
    connect(ui.Command1, &QPushButton::clicked, this, &TForm1::Command1Click);
    connect(ui.Command2, &QPushButton::clicked, this, &TForm1::Command2Click);
    connect(ui.Command3, &QPushButton::clicked, this, &TForm1::Command3Click);
    connect(ui.Command4, &QPushButton::clicked, this, &TForm1::Command4Click);
    connect(ui.Command5, &QPushButton::clicked, this, &TForm1::Command5Click);
    connect(ui.Command6, &QPushButton::clicked, this, &TForm1::Command6Click);
    connect(ui.Command7, &QPushButton::clicked, this, &TForm1::Command7Click);
    connect(ui.Command8, &QPushButton::clicked, this, &TForm1::Command8Click);
    connect(ui.Fin, &QPushButton::clicked, this, &TForm1::FinClick);
    connect(ui.getfont, &QPushButton::clicked, this, &TForm1::getfontClick);
    connect(ui.Nextc, &QPushButton::clicked, this, &TForm1::NextcClick);
    connect(ui.fontwidth, &QScrollBar::valueChanged, this, &TForm1::fontwidthChange);
    connect(ui.fontheight, &QScrollBar::valueChanged, this, &TForm1::fontheightChange);
    connect(ui.offset, &QScrollBar::valueChanged, this, &TForm1::offsetChange);
    connect(ui.VScroll1, &QScrollBar::valueChanged, this, &TForm1::VScroll1Change);
    for (QCheckBox* box :
         {ui.fixwidth, ui.spaceyn, ui.autocal, ui.includewidth, ui.labelfont, ui.labeloffset})
        connect(box, &QCheckBox::toggled, this, &TForm1::optionChange);
    connect(ui.fontbox2, &TRasterView::pointerMoved, this, &TForm1::fontbox2MouseMove);
    // The two file-name fields mirror each other.
    connect(ui.Nom_Fichier, &QLineEdit::textChanged, m_saveAs, &TSave_as::setFileName);
    connect(m_saveAs, &TSave_as::fileNameEdited, this, [this](const QString& name) {
        if (m_ui.Nom_Fichier->text() != name)
            m_ui.Nom_Fichier->setText(name);
    });
    connect(m_saveAs, &TSave_as::accepted, this, &TForm1::Save_asAccepted);
    connect(m_saveAs, &TSave_as::cancelled, this, &TForm1::Save_asCancelled);
}
