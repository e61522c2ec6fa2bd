#include "stage/CharactersCollection.h"
#include "stage/AcsReader.h"
#include "stage/RequestObject.h"
#include "stage/StageCharacter.h"
#include <cctype>

namespace {

std::string IdKey(const std::string& id)
{
    std::string key = id;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

const DispatchMember<CharactersCollection> CharactersCollection::kMembers[3] = {
    { L"Load", 1, kDispatchGet, 1, 2, &CharactersCollection::Load },
    { L"Unload", 2, kDispatchGet, 1, 1, &CharactersCollection::Unload },
    { L"Character", 3, kDispatchGet, 1, 1, &CharactersCollection::Character },
};

CharactersCollection::CharactersCollection(std::shared_ptr<const StageSettings> settings)
    : settings_(std::move(settings))
{
}

CharactersCollection::~CharactersCollection()
{
    UnloadAll();
}

void CharactersCollection::UnloadAll()
{
    for (auto& entry : characters_)
        entry.second->Unload();
    characters_.clear();
}

HRESULT CharactersCollection::Load(DispatchCall& call)
{
    std::string id;
    std::string path;
    HRESULT hr = call.GetString(0, CP_ACP, id);
    if (SUCCEEDED(hr))
        hr = call.GetOptionalString(1, CP_ACP, path);
    if (FAILED(hr))
        return hr;
    const bool raise = settings_->raiseRequestErrors;
    if (characters_.count(IdKey(id)))
        return RequestObject::AnswerFailure(call, raise, E_INVALIDARG,
                                            "A character is already loaded as \"" + id + "\".");
    if (path.empty())
        return RequestObject::AnswerFailure(call, raise, E_INVALIDARG,
                                            "No character file was given for \"" + id + "\".");
    auto data = std::make_shared<CharacterData>();
    std::string error;
    if (!ReadCharacterFile(path, *data, error))
        return RequestObject::AnswerFailure(call, raise, E_FAIL,
                                            "The character file " + path + " could not be loaded: " + error + ".");
    ComRef<StageCharacter> character = MakeComObject<StageCharacter>(data, settings_);
    if (!character->Load(error))
        return RequestObject::AnswerFailure(call, raise, E_FAIL,
                                            "The character in " + path + " could not be shown: " + error + ".");
    characters_[IdKey(id)] = character;
    ComRef<RequestObject> request = MakeComObject<RequestObject>(RequestStatus::Complete);
    return call.ReturnDispatch(request.get());
}

HRESULT CharactersCollection::Unload(DispatchCall& call)
{
    std::string id;
    const HRESULT hr = call.GetString(0, CP_ACP, id);
    if (FAILED(hr))
        return hr;
    const auto found = characters_.find(IdKey(id));
    if (found == characters_.end()) {
        if (settings_->raiseRequestErrors)
            return call.Raise(E_INVALIDARG, "No character is loaded as \"" + id + "\".");
        return S_OK;
    }
    found->second->Unload();
    characters_.erase(found);
    return S_OK;
}

HRESULT CharactersCollection::Character(DispatchCall& call)
{
    std::string id;
    const HRESULT hr = call.GetString(0, CP_ACP, id);
    if (FAILED(hr))
        return hr;
    const auto found = characters_.find(IdKey(id));
    if (found == characters_.end())
        return call.Raise(E_INVALIDARG, "No character is loaded as \"" + id + "\".");
    return call.ReturnDispatch(found->second.get());
}
