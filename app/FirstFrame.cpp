// Waits for a widget's first paint, then queues the work behind the frame.
#include "app/FirstFrame.h"

#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

namespace plitar {

namespace {
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* painted, std::function<void()> work, std::chrono::milliseconds wait)
        : QObject(painted), work_(std::move(work)), wait_(wait)
    {
        painted->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            // The frame is flushed to the window system when this paint
            // returns; a queued call or a timer comes after that.
            watched->removeEventFilter(this);
            auto run = [this] {
                work_();
                deleteLater();
            };
            if (wait_.count() > 0)
                QTimer::singleShot(wait_, this, run);
            else
                QMetaObject::invokeMethod(this, run, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> work_;
    std::chrono::milliseconds wait_;
};
}  // namespace

void afterFirstFrame(QWidget* painted, std::function<void()> work, std::chrono::milliseconds wait)
{
    new FirstPaint(painted, std::move(work), wait);
}

}  // namespace plitar
