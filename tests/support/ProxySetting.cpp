#include <winsock2.h>  // before the windows.h of the header
#include "support/ProxySetting.h"
#include <gtest/gtest.h>

namespace {

const char InternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size)
{
    const LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    if (result != ERROR_SUCCESS)
        ADD_FAILURE() << "could not set " << name << " in HKCU\\" << InternetSettings << ": error " << result;
}

} // namespace

ProxySetting::ProxySetting(unsigned short port)
{
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, InternetSettings, 0, nullptr, 0,
                                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        ADD_FAILURE() << "could not open HKCU\\" << InternetSettings << ": error " << result;
        key = nullptr;
        return;
    }
    saved[0] = Save(key, "ProxyEnable");
    saved[1] = Save(key, "ProxyServer");
    // A bypass list could name the site's host and send it past the proxy.
    saved[2] = Save(key, "ProxyOverride");
    RegDeleteValueA(key, "ProxyOverride");
    PointAt(port);
}

ProxySetting::~ProxySetting()
{
    if (!key)
        return;
    for (const SavedValue& value : saved) {
        if (value.data)
            SetValue(key, value.name, value.type, value.data->data(), static_cast<DWORD>(value.data->size()));
        else
            RegDeleteValueA(key, value.name);
    }
    RegCloseKey(key);
}

void ProxySetting::PointAt(unsigned short port)
{
    if (!key)
        return;
    const DWORD enable = 1;
    SetValue(key, "ProxyEnable", REG_DWORD, &enable, sizeof(enable));
    const std::string server = "127.0.0.1:" + std::to_string(port);
    SetValue(key, "ProxyServer", REG_SZ, server.c_str(), static_cast<DWORD>(server.size() + 1));
}

ProxySetting::SavedValue ProxySetting::Save(HKEY key, const char* name)
{
    SavedValue value{ name, REG_NONE, std::nullopt };
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            value.data = data;
        }
    }
    return value;
}

void ProxySetting::PointAtClosedPort()
{
    // The port the system hands out for a socket that is closed at once.
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    const bool bound = probe != INVALID_SOCKET && bind(probe, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    closesocket(probe);
    WSACleanup();
    ASSERT_TRUE(bound) << "no free port: error " << WSAGetLastError();
    PointAt(ntohs(address.sin_port));
}
