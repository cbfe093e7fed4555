#include "app/CaptionNotice.h"

#include <QWidget>
#include <QWindow>

namespace plitar {

namespace {

// The notification: the caption as its name, inside the window.
class NoticeAccessible : public QAccessibleInterface {
public:
    explicit NoticeAccessible(QWidget* window) : window_(window) {}

    bool isValid() const override { return !window_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return window_ ? window_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return window_ ? QAccessible::queryAccessibleInterface(window_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && window_ ? window_->windowTitle() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invalid = window_.isNull();
        return s;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

CaptionNotice::~CaptionNotice()
{
    if (notice_ != 0)
        QAccessible::deleteAccessibleInterface(notice_);
}

void CaptionNotice::changed()
{
    if (queued_ || !QAccessible::isActive() || !window_)
        return;
    queued_ = true;
    QMetaObject::invokeMethod(
        window_.data(),
        [this] {
            queued_ = false;
            tell();
        },
        Qt::QueuedConnection);
}

void CaptionNotice::tell()
{
    if (!window_ || !QAccessible::isActive())
        return;
    QAccessibleEvent named(window_.data(), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    if (notice_ == 0)
        notice_ = QAccessible::registerAccessibleInterface(new NoticeAccessible(window_.data()));
    QAccessibleEvent shown(QAccessible::accessibleInterface(notice_), QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace plitar
