#pragma once
#include "controls/HyperLink.h"

// The link the dialogs place: a click only marks it visited; what it opens is up to the
// dialog, which gets the static's click notification (notify style in the template).
class CHyperLinkDL : public CHyperLink {
public:
    void ActivateLink() override;
};
