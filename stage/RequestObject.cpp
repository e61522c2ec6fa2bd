#include "stage/RequestObject.h"

const DispatchMember<RequestObject> RequestObject::kMembers[1] = {
    { L"Status", 1, kDispatchGet, 0, 0, &RequestObject::GetStatus },
};

HRESULT RequestObject::GetStatus(DispatchCall& call)
{
    return call.ReturnLong(static_cast<long>(status_));
}

HRESULT RequestObject::AnswerFailure(DispatchCall& call, bool raise, HRESULT code, const std::string& description)
{
    if (raise)
        return call.Raise(code, description);
    ComRef<RequestObject> request = MakeComObject<RequestObject>(RequestStatus::Failed);
    return call.ReturnDispatch(request.get());
}
