// Placement, geometry persistence and closing of the listing windows.
#include "build/qt/ListingForm.h"

#include "platform/IniFile.h"
#include "platform/SettingsProblems.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {

std::optional<int> readKey(const TIniFile& ini, std::string_view section, std::string_view key)
{
    const std::string text = ini.ReadString(std::string(section), std::string(key), "");
    int value = 0;
    if (text.empty() || !parseInteger(text, value))
        return std::nullopt;
    return value;
}

} // namespace

TListingForm::TListingForm(ListingWindow kind, std::string iniFile, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_kind(kind), m_iniFile(std::move(iniFile))
{
    setEnabled(false);
    FormCreate();
}

void TListingForm::FormCreate()
{
    const TIniFile ini(m_iniFile);
    const TListingWindowKeys keys = listingWindowKeys(m_kind);
    TWindowGeometry area{0, 0, 1024, 768};
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        area = {available.x(), available.y(), available.width(), available.height()};
    }
    const TWindowGeometry geometry = listingWindowGeometry(
        m_kind, readKey(ini, keys.section, keys.left), readKey(ini, keys.section, keys.top),
        readKey(ini, keys.section, keys.width), readKey(ini, keys.section, keys.height), area);
    move(geometry.left, geometry.top);
    resize(geometry.width, geometry.height);
}

TWindowGeometry TListingForm::currentGeometry() const
{
    return {x(), y(), width(), height()};
}

// A settings file that cannot be written must not interrupt the user at every change of the
// active window: the failure is reported once, and the window opens where it last was saved.
void TListingForm::FormDeactivate()
{
    const TListingWindowKeys keys = listingWindowKeys(m_kind);
    const TWindowGeometry geometry = currentGeometry();
    const std::string section(keys.section);
    trySettingsAccess(m_iniFile, [&] {
        TIniFile ini(m_iniFile);
        ini.WriteInteger(section, std::string(keys.width), geometry.width);
        ini.WriteInteger(section, std::string(keys.left), geometry.left);
        ini.WriteInteger(section, std::string(keys.top), geometry.top);
        ini.WriteInteger(section, std::string(keys.height), geometry.height);
    });
}

void TListingForm::showListing()
{
    setEnabled(true);
    show();
}

void TListingForm::hideListing()
{
    setEnabled(false);
    hide();
}

bool TListingForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        FormDeactivate();
    return QWidget::event(event);
}

void TListingForm::closeEvent(QCloseEvent* event)
{
    FormDeactivate();
    setEnabled(false);
    QWidget::closeEvent(event);
    emit closed(m_kind);
}
