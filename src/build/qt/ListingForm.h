// TListingForm, what the three listing windows share: a tool window that stays on top of the
// main window, has only a close box, and keeps its left, top, width and height in ZBX.INI under
// its own section and keys. Geometry is read once when the window is created and written on
// every deactivation and close; absent, unreadable or non-positive sizes open the window at its
// design size so a first start shows a usable window.
// The window is enabled exactly while it is shown.
#pragma once

#include "build/ListingWindows.h"

#include <QWidget>

#include <string>

class TListingForm : public QWidget
{
    Q_OBJECT
public:
    TListingForm(ListingWindow kind, std::string iniFile, QWidget* parent);

    ListingWindow kind() const { return m_kind; }
    const std::string& iniFile() const { return m_iniFile; }

    // Reads the geometry keys and places the window (the constructor calls it).
    void FormCreate();
    // Writes the present geometry to the keys.
    void FormDeactivate();

    // Enables and shows, or hides and disables, the window.
    void showListing();
    void hideListing();

    // Left, top (of the frame) and width, height (of the client area), as stored.
    TWindowGeometry currentGeometry() const;

signals:
    // The user closed the window: the owner unchecks the window's View item.
    void closed(ListingWindow kind);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ListingWindow m_kind;
    std::string m_iniFile;
};
