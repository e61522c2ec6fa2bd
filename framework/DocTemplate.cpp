#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/ResourceString.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass docClass, CRuntimeClass frameClass, CRuntimeClass viewClass)
    : resourceId_(resourceId),
      docString_(LoadResourceString(resourceId)),
      docClass_(docClass),
      frameClass_(frameClass),
      viewClass_(viewClass) {}

CDocTemplate::~CDocTemplate() = default;

std::string CDocTemplate::GetDocString(DocStringIndex index) const
{
    return GetStringPart(docString_, index);
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CDocument* doc = static_cast<CDocument*>(docClass_());
    doc->docTemplate_ = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc)
{
    CFrameWnd* frame = static_cast<CFrameWnd*>(frameClass_());
    CCreateContext context;
    context.m_pNewViewClass = viewClass_;
    context.m_pCurrentDoc = doc;
    if (!frame->LoadFrame(resourceId_, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        delete frame;  // a frame that failed to create never owned itself
        return nullptr;
    }
    return frame;
}

void CDocTemplate::SetDefaultTitle(CDocument* doc)
{
    std::string title = GetDocString(docName);
    if (title.empty())
        title = LoadResourceString(AFX_IDS_UNTITLED);
    doc->SetTitle(title);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (frame_ && frame_->m_hWnd)
        frame_->DestroyWindow();
    delete onlyDoc_;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& path, bool makeVisible)
{
    CDocument* doc = onlyDoc_;
    bool docCreated = false;
    if (doc) {
        if (!doc->SaveModified())
            return nullptr;
    } else {
        doc = CreateNewDocument();
        docCreated = true;
    }

    bool frameCreated = false;
    if (!frame_) {
        frame_ = CreateNewFrame(doc);
        if (!frame_) {
            if (docCreated)
                delete doc;
            return nullptr;
        }
        frameCreated = true;
    }

    // A first document that cannot be made takes its new frame with it.
    auto abandon = [&]() -> CDocument* {
        if (frameCreated) {
            frame_->DestroyWindow();
            frame_ = nullptr;
        }
        if (docCreated)
            delete doc;
        return nullptr;
    };

    if (path.empty()) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument())
            return abandon();
    } else {
        CWaitCursor wait;
        if (!doc->OnOpenDocument(path))
            return abandon();
        doc->SetPathName(path);
    }
    onlyDoc_ = doc;
    frame_->InitialUpdateFrame(doc, makeVisible);
    return doc;
}

bool CSingleDocTemplate::SaveAllModified()
{
    return !onlyDoc_ || onlyDoc_->SaveModified();
}
