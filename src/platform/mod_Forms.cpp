#include "platform/mod_Forms.h"

#include <QPointer>
#include <QWidget>

#include <algorithm>

#include "platform/TextCodec.h"

namespace mod_Forms {

namespace {

// QPointer turns null once a window is destroyed; those entries are dropped on the next visit.
std::vector<QPointer<QWidget>>& openWindows() {
    static std::vector<QPointer<QWidget>> windows;
    std::erase_if(windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
    return windows;
}

}  // namespace

void Register(QWidget* window, std::string_view name) {
    Q_ASSERT(window);
    window->setObjectName(platform::toQt(name));
    auto& windows = openWindows();
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.emplace_back(window);
}

bool IsFormLoaded(std::string_view name) {
    return Find(name) != nullptr;
}

QWidget* Find(std::string_view name) {
    const QString wanted = platform::toQt(name);
    for (const auto& window : openWindows())
        if (window->objectName() == wanted) return window;
    return nullptr;
}

void Unload(QWidget* window) {
    if (!window) return;
    std::erase(openWindows(), window);
    window->hide();
    window->deleteLater();
}

std::vector<std::string> OpenWindowNames() {
    std::vector<std::string> names;
    for (const auto& window : openWindows())
        names.push_back(platform::fromQt(window->objectName()));
    return names;
}

}  // namespace mod_Forms
