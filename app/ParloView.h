#pragma once
#include "app/PaletteBitmap.h"
#include "controls/LayoutRule.h"
#include "controls/OXBitmapButton.h"
#include "controls/OXStatic.h"
#include "framework/FormView.h"
#include <commctrl.h>

class CParloDoc;
class GreetingAction;

// The main window's form: the greeting's actions as a list of described rows, and the
// commands that work on the list. Every change goes to the document first, then to the row.
class CParloView : public CFormView {
public:
    CParloView();
    ~CParloView() override;

    CParloDoc* GetDocument() const;
    HWND GetListControl() const { return list_; }
    // The action of the selected row, or nullptr.
    GreetingAction* GetSelectedAction() const;
    int GetSelectedIndex() const;

    void OnInitialUpdate() override;
    void OnActivateFrame(bool active, HWND other) override;
    void OnUpdate(CView* sender, LPARAM hint) override;

    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnMoveUp();
    void OnMoveDown();
    void OnPlayGreeting();
    void OnPlayFrom();
    void OnSendNow();
    void OnOptions();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnHelp();
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnListRightClick(NMHDR* header, LRESULT* result);
    void OnListItemChanged(NMHDR* header, LRESULT* result);
    void OnGetRowText(NMHDR* header, LRESULT* result);
    void OnListEmptied(NMHDR* header, LRESULT* result);
    void OnRowInserted(NMHDR* header, LRESULT* result);
    void OnNextPane();
    void OnPrevPane();
    LRESULT OnQueryNewPalette(WPARAM, LPARAM);
    LRESULT OnPaletteChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    COXBitmapButton sendNow_;
    COXBitmapButton add_;
    COXBitmapButton moveDown_;
    COXBitmapButton moveUp_;
    COXBitmapButton playGreeting_;
    COXStatic instructions_;
    HWND list_ = nullptr;
    PaletteBitmap picture_;
    HIMAGELIST images_ = nullptr;
    HFONT instructionsFont_ = nullptr;

    // The one-time set-up of the list column, the picture and the buttons has run (once
    // per view: the program has one view, the tests make several).
    bool controlsInitialised_ = false;
    static LayoutRule layoutRules[];

    void InitViewControls();
    void InitButtons();
    void AutoSizeActionColumn();
    bool InsertActionItem(GreetingAction* action, int index);
    void SetRow(int index, GreetingAction* action);
    void SelectRow(int index);
    void UpdateActionButtons();
    // F6 and Shift+F6: the focus goes to the next (previous) part of the form.
    void MoveToPane(int step);
};

// The image of an action's command in the list.
int CommandImageIndex(const std::string& command);
