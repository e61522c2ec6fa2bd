#pragma once
#include "stage/ComRef.h"
#include "stage/DispatchObject.h"
#include "stage/StageSettings.h"
#include <map>
#include <memory>
#include <string>

class StageCharacter;

// The characters a stage control has loaded, by the ids callers gave them (ids match
// without regard to ASCII case).
class CharactersCollection : public DispatchObject<CharactersCollection> {
public:
    explicit CharactersCollection(std::shared_ptr<const StageSettings> settings);
    ~CharactersCollection() override;

    // Takes every character off the stage.
    void UnloadAll();

    static const DispatchMember<CharactersCollection> kMembers[3];

private:
    HRESULT Load(DispatchCall& call);
    HRESULT Unload(DispatchCall& call);
    HRESULT Character(DispatchCall& call);

    std::shared_ptr<const StageSettings> settings_;
    std::map<std::string, ComRef<StageCharacter>> characters_;  // by upper-case id
};
