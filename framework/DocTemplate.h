#pragma once
#include "framework/CmdTarget.h"
#include <string>

class CDocument;
class CFrameWnd;

// Everything a frame needs to build its view for a document.
struct CCreateContext {
    CRuntimeClass m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

// Ties a document class to its frame and view classes and to the document string of a
// resource id (window title, file filter, default extension).
class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT resourceId, CRuntimeClass docClass, CRuntimeClass frameClass, CRuntimeClass viewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return resourceId_; }
    std::string GetDocString(DocStringIndex index) const;

    // Opens path into a document, or starts a new document when path is empty; returns
    // nullptr when that fails or the user cancels.
    virtual CDocument* OpenDocumentFile(const std::string& path, bool makeVisible) = 0;
    virtual bool SaveAllModified() = 0;

protected:
    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc);
    void SetDefaultTitle(CDocument* doc);

private:
    UINT resourceId_;
    std::string docString_;
    CRuntimeClass docClass_;
    CRuntimeClass frameClass_;
    CRuntimeClass viewClass_;
};

// One document at a time, reused for every New and Open, in one frame.
class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(const std::string& path, bool makeVisible) override;
    bool SaveAllModified() override;
    CDocument* GetOnlyDocument() const { return onlyDoc_; }

private:
    CDocument* onlyDoc_ = nullptr;
    CFrameWnd* frame_ = nullptr;
    friend class CFrameWnd;
};
