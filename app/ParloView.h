#pragma once
#include "framework/View.h"

class CParloDoc;

// Lists the greeting's actions, one described row each.
class CParloView : public CView {
public:
    CParloDoc* GetDocument() const;

protected:
    void OnDraw(HDC dc) override;
    void OnOptions();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
