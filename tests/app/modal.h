// Driving the program's modal frames from a test: the frame is found once it is shown, then
// the test acts on it as a user would.
#pragma once

#include "custom_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace hbx::test {

/// The frame that is shown modally now, or null.
inline ::CustomDialog* shownFrame() {
    if (auto* frame = qobject_cast<::CustomDialog*>(QApplication::activeModalWidget())) {
        return frame;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<::CustomDialog*>(widget); frame && frame->isVisible()) {
            return frame;
        }
    }
    return nullptr;
}

/// Runs `show`, which blocks in a frame's exec(), and does `act` on that frame as soon as the
/// event loop runs. A frame that never appears fails the test.
template <class Show>
auto whileShown(Show show, std::function<void(::CustomDialog&)> act) {
    QTimer::singleShot(0, [act] {
        ::CustomDialog* frame = shownFrame();
        if (frame == nullptr) {
            ADD_FAILURE() << "no frame is shown";
            return;
        }
        act(*frame);
    });
    return show();
}

/// A named child of a frame, or a failure.
template <class T>
T* child(QWidget& frame, const char* name) {
    T* found = frame.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void click(QWidget& frame, const char* button) {
    if (auto* b = child<QPushButton>(frame, button)) b->click();
}

inline QString textOf(QWidget& frame, const char* label) {
    auto* l = child<QLabel>(frame, label);
    return l ? l->text() : QString();
}

}  // namespace hbx::test
