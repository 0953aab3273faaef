// Driving modal dialogs from a test: the action runs once the dialog of type T is the active
// modal window, inside its own event loop, with the dialog active so that focus moves as a
// user's would, and closes it if it is still open afterwards.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

template <typename T> void whenModal(std::function<void(T&)> action, int attempts = 200)
{
    QTimer::singleShot(10, [action = std::move(action), attempts] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (attempts > 0)
                whenModal<T>(action, attempts - 1);
            return;
        }
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog))
            ADD_FAILURE() << "the dialog did not become active";
        action(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}
