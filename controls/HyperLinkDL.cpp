#include "controls/HyperLinkDL.h"

void CHyperLinkDL::ActivateLink()
{
    MarkVisited();
}
