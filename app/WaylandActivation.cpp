#include "app/WaylandActivation.h"

#include <QGuiApplication>
#include <QString>
#include <QWindow>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include "xdg-activation-v1-client.h"

namespace plitar {

namespace {
// Everything lives on an event queue of its own, so that Qt, which reads and
// dispatches its own queue (partly from another thread), never sees these
// objects' events and the round trips here never dispatch Qt's.
class ActivationClient {
public:
    explicit ActivationClient(wl_display* display) : display_(display)
    {
        queue_ = wl_display_create_queue(display_);
        wrapper_ = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper_), queue_);
        registry_ = wl_display_get_registry(wrapper_);
        wl_registry_add_listener(registry_, &kRegistryListener, this);
        wl_display_roundtrip_queue(display_, queue_);
    }
    ~ActivationClient()
    {
        if (activation_)
            xdg_activation_v1_destroy(activation_);
        wl_registry_destroy(registry_);
        wl_proxy_wrapper_destroy(wrapper_);
        wl_event_queue_destroy(queue_);
    }
    ActivationClient(const ActivationClient&) = delete;
    ActivationClient& operator=(const ActivationClient&) = delete;

    bool offered() const { return activation_ != nullptr; }

    // A token of this program's own for the surface, with no input event
    // behind it; empty when the compositor gives none.
    QString ownToken(wl_surface* surface, const QString& appId)
    {
        xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(activation_);
        xdg_activation_token_v1_add_listener(token, &kTokenListener, this);
        xdg_activation_token_v1_set_surface(token, surface);
        if (!appId.isEmpty())
            xdg_activation_token_v1_set_app_id(token, appId.toUtf8().constData());
        xdg_activation_token_v1_commit(token);
        for (int i = 0; i < 3 && !tokenDone_; ++i)
            if (wl_display_roundtrip_queue(display_, queue_) < 0)
                break;
        xdg_activation_token_v1_destroy(token);
        return token_;
    }

    void activate(const QString& token, wl_surface* surface)
    {
        xdg_activation_v1_activate(activation_, token.toUtf8().constData(), surface);
        wl_display_flush(display_);
    }

private:
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
    {
        auto* self = static_cast<ActivationClient*>(data);
        if (!self->activation_ && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
            self->activation_ = static_cast<xdg_activation_v1*>(
                wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}
    static void done(void* data, xdg_activation_token_v1*, const char* token)
    {
        auto* self = static_cast<ActivationClient*>(data);
        self->token_ = QString::fromUtf8(token);
        self->tokenDone_ = true;
    }
    static constexpr wl_registry_listener kRegistryListener{global, globalRemove};
    static constexpr xdg_activation_token_v1_listener kTokenListener{done};

    wl_display* display_;
    wl_event_queue* queue_ = nullptr;
    wl_display* wrapper_ = nullptr;
    wl_registry* registry_ = nullptr;
    xdg_activation_v1* activation_ = nullptr;
    QString token_;
    bool tokenDone_ = false;
};
}  // namespace

void activateOnWayland(QWindow* window, const QString& token)
{
    if (!window || QGuiApplication::platformName() != QLatin1String("wayland"))
        return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display = native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display")) : nullptr;
    auto* surface = native ? static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window)) : nullptr;
    if (!display || !surface)
        return;
    ActivationClient client(display);
    if (!client.offered())
        return;
    const QString use = token.isEmpty() ? client.ownToken(surface, QGuiApplication::desktopFileName()) : token;
    if (!use.isEmpty())
        client.activate(use, surface);
}

}  // namespace plitar
