#pragma once
// The process-wide store of the user-interface fonts: the header and list controls take their
// normal and bold fonts from it. Reached through WVPAuxData(), made on first use.
#include "platform/mfc/Mfc.h"

class CWVAuxData
{
  public:
    CWVAuxData();
    virtual ~CWVAuxData();

    // (Re)creates the ten fonts from the system's menu, status, caption and icon-title fonts, with
    // the face (and the vertical fonts' face) replaced where given and installed; FALSE as soon as
    // one font cannot be made.
    BOOL UpdateFonts(LPCWSTR pszFaceName = nullptr, LPCWSTR pszVertFaceName = nullptr);

    CFont font;
    CFont fontBold;
    CFont fontULine;
    CFont fontVert;
    CFont fontVertBold;
    CFont fontIconTitle;
    CFont fontIconTitleBold;
    CFont fontMarlett;
    CFont fontStatus;
    CFont fontSmCaption;
};

CWVAuxData* AFXAPI WVPAuxData();
