// Waits for a widget's first paint, then queues the work behind the frame.
#include "app/FirstFrame.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace plitar {

namespace {
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* painted, std::function<void()> work) : QObject(painted), work_(std::move(work))
    {
        painted->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            // The frame is flushed to the window system when this paint
            // returns; a queued call comes after that.
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    work_();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> work_;
};
}  // namespace

void afterFirstFrame(QWidget* painted, std::function<void()> work) { new FirstPaint(painted, std::move(work)); }

}  // namespace plitar
