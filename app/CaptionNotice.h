// The caption is the game's status line, and a screen reader should say it
// when it changes. Qt tells the accessibility bus nothing of a new window
// title, and the name change a program can send carries no text that the
// Orca screen reader can speak; what a reader speaks by itself is a
// notification that shows. So each new caption is told twice, once the
// command that wrote it has ended: as a name change of the window, for
// readers that follow the title, and as a notification carrying the caption.
// Nothing of it runs while no assistive technology listens.
#pragma once

#include <QAccessible>
#include <QPointer>

class QWidget;

namespace plitar {

class CaptionNotice {
public:
    explicit CaptionNotice(QWidget& window) : window_(&window) {}
    ~CaptionNotice();
    CaptionNotice(const CaptionNotice&) = delete;
    CaptionNotice& operator=(const CaptionNotice&) = delete;

    // The window's caption has changed.
    void changed();

private:
    void tell();

    QPointer<QWidget> window_;
    QAccessible::Id notice_ = 0;  // the notification's interface, made at the first caption told
    bool queued_ = false;
};

}  // namespace plitar
