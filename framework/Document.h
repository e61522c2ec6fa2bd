#pragma once
#include "framework/CmdTarget.h"
#include <string>
#include <vector>

class CView;
class CDocTemplate;

// The data the user works on, shown by one or more views. Documents say themselves how
// they are read and written.
class CDocument : public CCmdTarget {
public:
    ~CDocument() override;

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path) = 0;
    virtual bool OnSaveDocument(const std::string& path) = 0;
    virtual bool IsModified();
    virtual void SetModifiedFlag(bool modified = true);
    virtual void DeleteContents();

    // Asks "Save changes to ...?" for a modified document; false when the user cancels or
    // the save fails.
    virtual bool SaveModified();
    // Saves to the current path, asking for one when there is none.
    bool DoFileSave();
    // Saves under path, or under a name the user picks when path is empty; the document
    // takes the new name when replace is set.
    bool DoSave(const std::string& path, bool replace = true);

    const std::string& GetPathName() const { return pathName_; }
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);
    CDocTemplate* GetDocTemplate() const { return docTemplate_; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return views_; }
    void UpdateAllViews(CView* sender, LPARAM hint = 0);

    void OnFileSave();
    void OnFileSaveAs();

protected:
    DECLARE_MESSAGE_MAP()

private:
    std::string pathName_;
    std::string title_;
    bool modified_ = false;
    std::vector<CView*> views_;
    CDocTemplate* docTemplate_ = nullptr;
    friend class CDocTemplate;
    void UpdateFrameTitles();
};
