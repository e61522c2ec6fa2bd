#pragma once
#include "stage/ComRef.h"
#include "stage/DispatchObject.h"
#include <string>

// Where a request stands, as its Status property reports it.
enum class RequestStatus : long {
    Complete = 0,
    Failed = 1,
    Pending = 2,
    Interrupted = 3,
    InProgress = 4,
};

// A request a caller made of a character: Load, Show, Hide, Play, Speak or MoveTo. The
// caller watches its status; the character's queue moves it on.
class RequestObject : public DispatchObject<RequestObject> {
public:
    explicit RequestObject(RequestStatus status) : status_(status) {}

    RequestStatus Status() const { return status_; }
    void SetStatus(RequestStatus status) { status_ = status; }

    // Answers a call whose request failed before it began: with a failed request, or
    // when the caller asked for request errors to be raised, with the error itself.
    static HRESULT AnswerFailure(DispatchCall& call, bool raise, HRESULT code, const std::string& description);

    static const DispatchMember<RequestObject> kMembers[1];

private:
    HRESULT GetStatus(DispatchCall& call);

    RequestStatus status_;
};
