#pragma once
#include "framework/HttpFile.h"
#include "framework/InternetSession.h"
#include <memory>
#include <string>

// The Internet requests of the update: a session with the system's settings, and
// requests that always go to the server, never to a cache.

// Long enough for a slow site, short enough that a site that stops answering is given up.
const DWORD UpdateTimeoutMs = 30000;

std::unique_ptr<CInternetSession> OpenUpdateSession(const std::string& agentName, DWORD timeoutMs);

// Opens the address with the transfer flag (ASCII or binary), following at most a few
// redirects to web addresses; a reply of status 300 or more after them throws
// CInternetException like any other failure.
std::unique_ptr<CHttpFile> OpenUpdateFile(CInternetSession& session, const std::string& url, DWORD transferFlag);
