// The converter's main window: basic and advanced modes, the conversion run with its stop and
// step buttons, writing the table file, the destination dialog and the ways out. Controls keep
// their given names (as object names too, so tests find them).
#pragma once

#include "glyphcast/app/GlyphServices.h"
#include "glyphcast/app/QtGlyphRaster.h"
#include "glyphcast/core/ConversionSettings.h"
#include "glyphcast/core/PreviewGrid.h"
#include "glyphcast/core/TableText.h"

#include <QMainWindow>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTabWidget;
class TGridView;
class TRasterView;
class TSave_as;

struct TForm1Controls
{
    QGroupBox* modeGroup;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7,
        *Command8;
    QPushButton *Fin, *getfont, *Nextc;
    TRasterView* fontbox2;
    QLabel *Label3, *cname, *Label4, *csize, *cbold, *cItalic;
    QLineEdit *Text2, *Nom_Fichier;
    QLabel *Label8, *Label9, *Label15, *Label_Fichier, *Label12, *Label13, *Label7, *Label10,
        *Label14;
    QLabel *Label16, *Label17, *xlabel, *ylabel;
    QLabel *widthCaption, *heightCaption, *offsetCaption, *bytesHighCaption;
    QProgressBar* ProgressBar1;
    QGroupBox *Advanced_Frame, *steppedGroup;
    QScrollBar *fontwidth, *fontheight, *offset, *VScroll1;
    QCheckBox *fixwidth, *spaceyn, *autocal, *includewidth, *labelfont, *labeloffset;
    QCheckBox *offsetbased, *SED, *Check1;
    QTabWidget* SSTab1;
    QPlainTextEdit* Text1;
    TGridView* Shape1;
};

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(TGlyphServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    const TForm1Controls& controls() const { return m_ui; }
    const TConversionSettings& settings() const { return m_settings; }
    const TPreviewGrid& grid() const { return m_grid; }
    const TQtGlyphRaster& raster() const { return m_raster; }
    TSave_as* saveAsDialog() const { return m_saveAs; }
    QString destinationFolder() const { return m_destination; }
    int errorFlag() const { return m_errorFlag; }

    // Window sizes in twips, the platform's 15 twips a pixel.
    static constexpr int TwipsPerPixel = 15;

    // Handlers, one per user action.
    void Command1Click(); // Convert Font
    void Command2Click(); // Auto Width, Height and Offset
    void Command3Click(); // Insert Data into to Kaltor Plus and Quit
    void Command4Click(); // BASIC
    void Command5Click(); // Stop Convert
    void Command6Click(); // ADVANCED
    void Command7Click(); // New Conversion
    void Command8Click(); // Destination Directory
    void FinClick();      // Quit
    void getfontClick();
    void NextcClick();
    void AboutClick();
    void ExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class TRunObserver;

    void buildControls();
    void buildBasicArea(QWidget* area);
    void buildAdvancedFrame(QWidget* area);
    void buildSettingsBars(QWidget* frame);
    void buildOptionBoxes(QWidget* frame);
    void buildTabs(QWidget* area);
    void buildMenus();
    void connectHandlers();
    void FormLoad();

    void fontwidthChange(int value);
    void fontheightChange(int value);
    void offsetChange(int value);
    void VScroll1Change(int value);
    void optionChange();
    void fontbox2MouseMove(int x, int y);
    void redrawGuideLines();
    void showFontCaptions(int namePadding);
    void showAdvancedWindow();
    void Save_asAccepted(const QString& folder);
    void Save_asCancelled();

    void runAutoMetrics();
    void beginConversion();
    void setSettingsEnabled(bool enabled);
    bool convertCharacters();
    void finishConversion();
    bool writePanel(const QString& fileName);
    TTableHeading tableHeading() const;
    std::string panelText() const;
    void processEvents();
    void endProgram();
    void setWindowSizeTwips(int width, int height);

    TGlyphServices m_services;
    TForm1Controls m_ui{};
    TQtGlyphRaster m_raster;
    TPreviewGrid m_grid;
    TConversionSettings m_settings;
    TSave_as* m_saveAs = nullptr;
    QString m_destination;
    int m_errorFlag = 0;
    bool m_ending = false;
};
