#pragma once
// Sorts the rows of a list control by the text of one column read as an integer, text, a date or
// a decimal number. Made on the stack around one Sort call: while it lives, each row's item data
// points at a record of the row's old item data and sort text; the destructor puts it back.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVSortClass
{
  public:
    // How a column's text is compared; a negative type passed to Compare sorts descending.
    enum SortType
    {
        typeInt = 1,
        typeString = 2,
        typeDateTime = 3,
        typeDecimal = 4,
    };

    CWVSortClass(CListCtrl* pList, int nColumn);
    virtual ~CWVSortClass();
    CWVSortClass(const CWVSortClass&) = delete;
    CWVSortClass& operator=(const CWVSortClass&) = delete;

    void Sort(BOOL bAscending, int nType);

    // The list view's comparison: two rows' records and the signed sort type.
    static int CALLBACK Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

  private:
    struct CSortItem
    {
        DWORD_PTR dwPrevData;
        CString strText;
    };

    CListCtrl* m_pList;
    std::vector<CSortItem*> m_records; // ordered by address, to recognise them again
};
