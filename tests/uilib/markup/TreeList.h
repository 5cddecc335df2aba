// The trees a routing test shows in its host window: each is parsed by the host's context, laid
// out over the host's client area and released with the list.
#pragma once

#include "MarkupFixture.h"

#include <vector>

#include "uilib/markup/MarkupDrawingContext.h"

namespace markuptest
{
class TreeList
{
  public:
    TreeList() = default;
    ~TreeList()
    {
        ReleaseAll();
    }
    TreeList(const TreeList&) = delete;
    TreeList& operator=(const TreeList&) = delete;

    CWVPMarkupUIElement* Show(CWVPMarkupContext* context, LPCWSTR markup, int width, int height)
    {
        WCHAR error[512] = {};
        CWVPMarkupObject* parsed = context->Parse(markup, error, 512);
        EXPECT_NE(nullptr, parsed) << rwtest::Utf8(error);
        if (!parsed)
            return nullptr;
        trees.push_back(parsed);
        CWVPMarkupUIElement* root = static_cast<CWVPMarkupUIElement*>(parsed);
        CWVPMarkupDrawingContext dc;
        root->Measure(&dc, width, height);
        root->Arrange({0, 0, width, height});
        return root;
    }
    void ReleaseAll()
    {
        for (CWVPMarkupObject* tree : trees)
            tree->Release();
        trees.clear();
    }

    std::vector<CWVPMarkupObject*> trees;
};
} // namespace markuptest
