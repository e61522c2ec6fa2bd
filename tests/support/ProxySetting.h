#pragma once
#include <windows.h>
#include <optional>
#include <string>

// Points the test prefix's Internet settings at a proxy on this machine while it lives:
// WinInet sessions opened with the preconfigured settings then send every request there,
// whatever host it names. The values it touches are put back afterwards.
class ProxySetting {
public:
    explicit ProxySetting(unsigned short port);
    ~ProxySetting();
    ProxySetting(const ProxySetting&) = delete;
    ProxySetting& operator=(const ProxySetting&) = delete;

    // Sessions opened from now on go to the proxy on this port.
    void PointAt(unsigned short port);
    // ... or to a port of this machine where nothing listens.
    void PointAtClosedPort();

private:
    struct SavedValue {
        const char* name;
        DWORD type;
        std::optional<std::string> data;
    };

    static SavedValue Save(HKEY key, const char* name);

    HKEY key = nullptr;
    SavedValue saved[3];
};
