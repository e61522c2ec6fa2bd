#pragma once
#include "service/store/GreetingStore.h"
#include "service/store/MailQueue.h"

// A back end of the store: the greetings and the outbox in one database.
class ServiceStore : public GreetingStore, public MailQueue {
};
