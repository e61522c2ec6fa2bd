#pragma once
#include <windows.h>

// The part of Simple MAPI that the address book uses. The library belongs to the user's
// mail system and is loaded at run time, so nothing here is linked.

// A recipient as the mail system describes it.
struct MapiRecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    LPSTR lpszName;
    LPSTR lpszAddress;   // may be null; often "SMTP:" followed by the address
    ULONG ulEIDSize;
    LPVOID lpEntryID;
};

// Shows the address book; the chosen recipients come back in an array that the mail
// system allocated.
using MapiAddressFunction = ULONG(WINAPI*)(ULONG_PTR session, ULONG_PTR uiParam, LPSTR caption, ULONG editFields,
                                           LPSTR labels, ULONG recipientCount, MapiRecipDesc* recipients,
                                           ULONG flags, ULONG reserved, ULONG* newCount,
                                           MapiRecipDesc** newRecipients);
using MapiFreeBufferFunction = ULONG(WINAPI*)(LPVOID buffer);

const char MapiLibraryName[] = "MAPI32.DLL";
const char MapiAddressName[] = "MAPIAddress";
const char MapiFreeBufferName[] = "MAPIFreeBuffer";

const ULONG MapiSuccess = 0;
const ULONG MapiUserAbort = 1;
// The mail system may ask the user to log on.
const ULONG MapiLogonUi = 0x1;
