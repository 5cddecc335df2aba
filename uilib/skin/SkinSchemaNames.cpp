#include "uilib/skin/SkinSchemaNames.h"

#include <vector>

namespace
{

// Compares a UTF-16 name with an ASCII table name without regard to case.
bool SameName(LPCWSTR name, const char* ascii, size_t asciiLength)
{
    for (size_t i = 0; i < asciiLength; ++i)
    {
        WCHAR ch = name[i];
        if (ch == 0 || ch > 0x7F)
            return false;
        char a = char(ch), b = ascii[i];
        if (a >= 'a' && a <= 'z')
            a = char(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = char(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return name[asciiLength] == 0;
}

// The position (from 0) of a name in a blank-separated list; -1 when absent.
int IndexInList(LPCWSTR name, const char* list)
{
    if (!name)
        return -1;
    int index = 0;
    for (const char* p = list; *p;)
    {
        const char* end = p;
        while (*end && *end != ' ')
            ++end;
        if (SameName(name, p, size_t(end - p)))
            return index;
        ++index;
        p = *end ? end + 1 : end;
    }
    return -1;
}

struct NamedList
{
    const char* owners; // blank-separated names that own the list
    const char* names;  // blank-separated, numbered from 1 (parts, states) or 0 (enumerations)
};

// Classes by identifier from 1; identifier 11 (MENU) stays unnamed, so MENU sections are ignored.
const char* const kClasses[] = {
    "Globals",    "Documentation", "SysMetrics", "ListBox",    "Dialog",      "WINDOW",   "BUTTON",   "REBAR",
    "TOOLBAR",    "STATUS",        "",           "LISTVIEW",   "HEADER",      "PROGRESS", "TAB",      "TRACKBAR",
    "TOOLTIP",    "TREEVIEW",      "SPIN",       "PAGE",       "SCROLLBAR",   "EDIT",     "COMBOBOX", "CLOCK",
    "TRAYNOTIFY", "TASKBAR",       "TASKBAND",   "STARTPANEL", "EXPLORERBAR", "MENUBAND",
};

const NamedList kParts[] = {
    {"WINDOW",
     "CAPTION SMALLCAPTION MINCAPTION SMALLMINCAPTION MAXCAPTION SMALLMAXCAPTION FRAMELEFT FRAMERIGHT FRAMEBOTTOM "
     "SMALLFRAMELEFT SMALLFRAMERIGHT SMALLFRAMEBOTTOM SYSBUTTON MDISYSBUTTON MINBUTTON MDIMINBUTTON MAXBUTTON "
     "CLOSEBUTTON SMALLCLOSEBUTTON MDICLOSEBUTTON RESTOREBUTTON MDIRESTOREBUTTON HELPBUTTON MDIHELPBUTTON HORZSCROLL "
     "HORZTHUMB VERTSCROLL VERTTHUMB DIALOG CAPTIONSIZINGTEMPLATE SMALLCAPTIONSIZINGTEMPLATE FRAMELEFTSIZINGTEMPLATE "
     "SMALLFRAMELEFTSIZINGTEMPLATE FRAMERIGHTSIZINGTEMPLATE SMALLFRAMERIGHTSIZINGTEMPLATE FRAMEBOTTOMSIZINGTEMPLATE "
     "SMALLFRAMEBOTTOMSIZINGTEMPLATE"},
    {"BUTTON", "PUSHBUTTON RADIOBUTTON CHECKBOX GROUPBOX USERBUTTON"},
    {"REBAR", "GRIPPER GRIPPERVERT BAND CHEVRON CHEVRONVERT"},
    {"TOOLBAR", "BUTTON DROPDOWNBUTTON SPLITBUTTON SPLITBUTTONDROPDOWN SEPARATOR SEPARATORVERT"},
    {"STATUS", "PANE GRIPPERPANE GRIPPER"},
    {"MENU", "MENUITEM MENUDROPDOWN MENUBARITEM MENUBARDROPDOWN CHEVRON SEPARATOR"},
    {"LISTVIEW", "LISTITEM LISTGROUP LISTDETAIL LISTSORTEDDETAIL EMPTYTEXT"},
    {"HEADER", "HEADERITEM HEADERITEMLEFT HEADERITEMRIGHT HEADERSORTARROW"},
    {"PROGRESS", "BAR BARVERT CHUNK CHUNKVERT"},
    {"TAB", "TABITEM TABITEMLEFTEDGE TABITEMRIGHTEDGE TABITEMBOTHEDGE TOPTABITEM TOPTABITEMLEFTEDGE "
            "TOPTABITEMRIGHTEDGE TOPTABITEMBOTHEDGE PANE BODY"},
    {"TRACKBAR", "TRACK TRACKVERT THUMB THUMBBOTTOM THUMBTOP THUMBVERT THUMBLEFT THUMBRIGHT TICS TICSVERT"},
    {"TOOLTIP", "STANDARD STANDARDTITLE BALLOON BALLOONTITLE CLOSE"},
    {"TREEVIEW", "TREEITEM GLYPH BRANCH"},
    {"SPIN PAGE", "UP DOWN UPHORZ DOWNHORZ"},
    {"SCROLLBAR", "ARROWBTN THUMBBTNHORZ THUMBBTNVERT LOWERTRACKHORZ UPPERTRACKHORZ LOWERTRACKVERT UPPERTRACKVERT "
                  "GRIPPERHORZ GRIPPERVERT SIZEBOX"},
    {"EDIT", "EDITTEXT CARET"},
    {"COMBOBOX", "DROPDOWNBUTTON"},
    {"CLOCK", "TIME"},
    {"TRAYNOTIFY", "BACKGROUND ANIMBACKGROUND"},
    {"TASKBAR", "BACKGROUNDBOTTOM BACKGROUNDRIGHT BACKGROUNDTOP BACKGROUNDLEFT SIZINGBARBOTTOM SIZINGBARRIGHT "
                "SIZINGBARTOP SIZINGBARLEFT"},
    {"TASKBAND", "GROUPCOUNT FLASHBUTTON FLASHBUTTONGROUPMENU"},
    {"STARTPANEL", "USERPANE MOREPROGRAMS MOREPROGRAMSARROW PROGLIST PROGLISTSEPARATOR PLACESLIST "
                   "PLACESLISTSEPARATOR LOGOFF LOGOFFBUTTONS USERPICTURE PREVIEW"},
    {"EXPLORERBAR", "HEADERBACKGROUND HEADERCLOSE HEADERPIN IEBARMENU NORMALGROUPBACKGROUND NORMALGROUPCOLLAPSE "
                    "NORMALGROUPEXPAND NORMALGROUPHEAD SPECIALGROUPBACKGROUND SPECIALGROUPCOLLAPSE SPECIALGROUPEXPAND "
                    "SPECIALGROUPHEAD"},
    {"MENUBAND", "NEWAPPBUTTON SEPERATOR"},
};

const NamedList kStates[] = {
    {"TOOLBAR MENUBAND", "NORMAL HOT PRESSED DISABLED CHECKED HOTCHECKED"},
    {"CHEVRON CLOSE HEADERCLOSE HEADERITEM HEADERITEMLEFT HEADERITEMRIGHT IEBARMENU LOGOFFBUTTONS MOREPROGRAMSARROW "
     "NORMALGROUPCOLLAPSE NORMALGROUPEXPAND SPECIALGROUPCOLLAPSE SPECIALGROUPEXPAND",
     "NORMAL HOT PRESSED"},
    {"HEADERPIN", "NORMAL HOT PRESSED SELECTEDNORMAL SELECTEDHOT SELECTEDPRESSED"},
    {"CLOCK TICS TICSVERT TRACK TRACKBAR TRACKVERT", "NORMAL"},
    {"COMBOBOX UP DOWN UPHORZ DOWNHORZ", "NORMAL HOT PRESSED DISABLED"},
    {"EDITTEXT", "NORMAL HOT SELECTED DISABLED FOCUSED READONLY ASSIST"},
    {"SIZEBOX", "RIGHTALIGN LEFTALIGN"},
    {"SCROLLBAR", "NORMAL HOT PRESSED DISABLED ACTIVE"},
    {"ARROWBTN", "UPNORMAL UPHOT UPPRESSED UPDISABLED DOWNNORMAL DOWNHOT DOWNPRESSED DOWNDISABLED LEFTNORMAL LEFTHOT "
                 "LEFTPRESSED LEFTDISABLED RIGHTNORMAL RIGHTHOT RIGHTPRESSED RIGHTDISABLED"},
    {"GLYPH", "CLOSED OPENED"},
    {"LISTITEM TREEITEM", "NORMAL HOT SELECTED DISABLED SELECTEDNOTFOCUS"},
    {"STANDARD BALLOON", "NORMAL LINK"},
    {"THUMB THUMBBOTTOM THUMBTOP THUMBVERT THUMBLEFT THUMBRIGHT", "NORMAL HOT PRESSED FOCUSED DISABLED"},
    {"TABITEM TABITEMLEFTEDGE TABITEMRIGHTEDGE TABITEMBOTHEDGES TOPTABITEM TOPTABITEMLEFTEDGE TOPTABITEMRIGHTEDGE "
     "TOPTABITEMBOTHEDGES",
     "NORMAL HOT SELECTED DISABLED FOCUSED"},
    {"HEADERSORTARROW", "SORTEDUP SORTEDDOWN"},
    {"MENU", "NORMAL SELECTED DEMOTED"},
    {"GROUPBOX", "NORMAL DISABLED"},
    {"CHECKBOX", "UNCHECKEDNORMAL UNCHECKEDHOT UNCHECKEDPRESSED UNCHECKEDDISABLED CHECKEDNORMAL CHECKEDHOT "
                 "CHECKEDPRESSED CHECKEDDISABLED MIXEDNORMAL MIXEDHOT MIXEDPRESSED MIXEDDISABLED"},
    {"RADIOBUTTON", "UNCHECKEDNORMAL UNCHECKEDHOT UNCHECKEDPRESSED UNCHECKEDDISABLED CHECKEDNORMAL CHECKEDHOT "
                    "CHECKEDPRESSED CHECKEDDISABLED"},
    {"PUSHBUTTON", "NORMAL HOT PRESSED DISABLED DEFAULTED"},
    {"CLOSEBUTTON HELPBUTTON MAXBUTTON MINBUTTON RESTOREBUTTON SYSBUTTON HORZSCROLL HORZTHUMB VERTSCROLL VERTTHUMB",
     "NORMAL HOT PUSHED DISABLED"},
    {"CAPTION MINCAPTION MAXCAPTION", "ACTIVE INACTIVE DISABLED"},
    {"FRAME", "ACTIVE INACTIVE"},
};

// Properties in runs of consecutive identifiers sharing one value type.
struct PropertyRun
{
    int firstId;
    int type;
    const char* names;
};

const PropertyRun kProperties[] = {
    {201, kSkinValueString, "STRING"},
    {202, kSkinValueInt, "INT"},
    {203, kSkinValueBool, "BOOL"},
    {204, kSkinValueColor, "COLOR"},
    {205, kSkinValueRect, "MARGINS"},
    {206, kSkinValueString, "FILENAME"},
    {207, kSkinValueInt, "SIZE"},
    {208, kSkinValuePosition, "POSITION"},
    {209, kSkinValueRect, "RECT"},
    {210, kSkinValueFont, "FONT"},
    {211, kSkinValueIntList, "INTLIST"},
    {401, kSkinValueString, "COLORSCHEMES SIZES"},
    {403, kSkinValueInt, "CHARSET"},
    {601, kSkinValueString, "DISPLAYNAME TOOLTIP COMPANY AUTHOR COPYRIGHT URL VERSION DESCRIPTION"},
    {801, kSkinValueFont, "CAPTIONFONT SMALLCAPTIONFONT MENUFONT STATUSFONT MSGBOXFONT ICONTITLEFONT"},
    {1001, kSkinValueBool, "FLATMENUS"},
    {1201, kSkinValueInt,
     "SIZINGBORDERWIDTH SCROLLBARWIDTH SCROLLBARHEIGHT CAPTIONBARWIDTH CAPTIONBARHEIGHT "
     "SMCAPTIONBARWIDTH SMCAPTIONBARHEIGHT MENUBARWIDTH MENUBARHEIGHT"},
    {1301, kSkinValueInt, "MINCOLORDEPTH"},
    {1401, kSkinValueString, "CSSNAME XMLNAME"},
    {1601, kSkinValueColor,
     "SCROLLBAR BACKGROUND ACTIVECAPTION INACTIVECAPTION MENU WINDOW WINDOWFRAME MENUTEXT WINDOWTEXT CAPTIONTEXT "
     "ACTIVEBORDER INACTIVEBORDER APPWORKSPACE HIGHLIGHT HIGHLIGHTTEXT BTNFACE BTNSHADOW GRAYTEXT BTNTEXT "
     "INACTIVECAPTIONTEXT BTNHIGHLIGHT DKSHADOW3D LIGHT3D INFOTEXT INFOBK BUTTONALTERNATEFACE HOTTRACKING "
     "GRADIENTACTIVECAPTION GRADIENTINACTIVECAPTION MENUHILIGHT MENUBAR"},
    {1801, kSkinValueInt, "FROMHUE1 FROMHUE2 FROMHUE3 FROMHUE4 FROMHUE5 TOHUE1 TOHUE2 TOHUE3 TOHUE4 TOHUE5"},
    {2001, kSkinValueColor,
     "FROMCOLOR1 FROMCOLOR2 FROMCOLOR3 FROMCOLOR4 FROMCOLOR5 TOCOLOR1 TOCOLOR2 TOCOLOR3 "
     "TOCOLOR4 TOCOLOR5"},
    {2201, kSkinValueBool,
     "TRANSPARENT AUTOSIZE BORDERONLY COMPOSITED BGFILL GLYPHTRANSPARENT GLYPHONLY "
     "ALWAYSSHOWSIZINGBAR MIRRORIMAGE UNIFORMSIZING INTEGRALSIZING SOURCEGROW SOURCESHRINK"},
    {2401, kSkinValueInt,
     "IMAGECOUNT ALPHALEVEL BORDERSIZE ROUNDCORNERWIDTH ROUNDCORNERHEIGHT GRADIENTRATIO1 "
     "GRADIENTRATIO2 GRADIENTRATIO3 GRADIENTRATIO4 GRADIENTRATIO5 PROGRESSCHUNKSIZE "
     "PROGRESSSPACESIZE SATURATION TEXTBORDERSIZE ALPHATHRESHOLD WIDTH HEIGHT GLYPHINDEX "
     "TRUESIZESTRETCHMARK MINDPI1 MINDPI2 MINDPI3 MINDPI4 MINDPI5"},
    {2601, kSkinValueFont, "GLYPHFONT"},
    {3001, kSkinValueString,
     "IMAGEFILE IMAGEFILE1 IMAGEFILE2 IMAGEFILE3 IMAGEFILE4 IMAGEFILE5 STOCKIMAGEFILE "
     "GLYPHIMAGEFILE"},
    {3201, kSkinValueString, "TEXT"},
    {3401, kSkinValuePosition,
     "OFFSET TEXTSHADOWOFFSET MINSIZE MINSIZE1 MINSIZE2 MINSIZE3 MINSIZE4 MINSIZE5 "
     "NORMALSIZE"},
    {3601, kSkinValueRect, "SIZINGMARGINS CONTENTMARGINS CAPTIONMARGINS"},
    {3801, kSkinValueColor,
     "BORDERCOLOR FILLCOLOR TEXTCOLOR EDGELIGHTCOLOR EDGEHIGHLIGHTCOLOR EDGESHADOWCOLOR "
     "EDGEDKSHADOWCOLOR EDGEFILLCOLOR TRANSPARENTCOLOR GRADIENTCOLOR1 GRADIENTCOLOR2 "
     "GRADIENTCOLOR3 GRADIENTCOLOR4 GRADIENTCOLOR5 SHADOWCOLOR GLOWCOLOR TEXTBORDERCOLOR "
     "TEXTSHADOWCOLOR GLYPHTEXTCOLOR GLYPHTRANSPARENTCOLOR FILLCOLORHINT BORDERCOLORHINT "
     "ACCENTCOLORHINT"},
    {4001, kSkinValueEnum,
     "BGTYPE BORDERTYPE FILLTYPE SIZINGTYPE HALIGN CONTENTALIGNMENT VALIGN OFFSETTYPE ICONEFFECT "
     "TEXTSHADOWTYPE IMAGELAYOUT GLYPHTYPE IMAGESELECTTYPE GLYPHFONTSIZINGTYPE "
     "TRUESIZESCALINGTYPE"},
    {5001, kSkinValueString, "USERPICTURE"},
    {5002, kSkinValueRect, "DEFAULTPANESIZE"},
    {5003, kSkinValueColor, "BLENDCOLOR"},
};

const NamedList kEnums[] = {
    {"BGTYPE", "IMAGEFILE BORDERFILL NONE"},
    {"IMAGELAYOUT", "VERTICAL HORIZONTAL"},
    {"BORDERTYPE", "RECT ROUNDRECT ELLIPSE"},
    {"FILLTYPE", "SOLID VERTGRADIENT HORZGRADIENT RADIALGRADIENT TILEIMAGE"},
    {"SIZINGTYPE", "TRUESIZE STRETCH TILE"},
    {"HALIGN CONTENTALIGNMENT", "LEFT CENTER RIGHT"},
    {"VALIGN", "TOP CENTER BOTTOM"},
    {"OFFSETTYPE", "TOPLEFT TOPRIGHT TOPMIDDLE BOTTOMLEFT BOTTOMRIGHT BOTTOMMIDDLE MIDDLELEFT MIDDLERIGHT "
                   "LEFTOFCAPTION RIGHTOFCAPTION LEFTOFLASTBUTTON RIGHTOFLASTBUTTON ABOVELASTBUTTON BELOWLASTBUTTON"},
    {"ICONEFFECT", "NONE GLOW SHADOW PULSE ALPHA"},
    {"TEXTSHADOWTYPE", "NONE SINGLE CONTINUOUS"},
    {"GLYPHTYPE", "NONE IMAGEGLYPH FONTGLYPH"},
    {"IMAGESELECTTYPE TRUESIZESCALINGTYPE GLYPHFONTSIZINGTYPE", "NONE SIZE DPI"},
};

template <size_t N> const NamedList* FindList(const NamedList (&lists)[N], LPCWSTR owner)
{
    for (const NamedList& list : lists)
        if (IndexInList(owner, list.owners) >= 0)
            return &list;
    return nullptr;
}

} // namespace

int WVPSkinGetClassId(LPCWSTR className)
{
    if (!className || !*className)
        return 0;
    for (size_t i = 0; i < sizeof kClasses / sizeof kClasses[0]; ++i)
    {
        const char* name = kClasses[i];
        size_t length = 0;
        while (name[length])
            ++length;
        if (length && SameName(className, name, length))
            return int(i) + 1;
    }
    return 0;
}

int WVPSkinGetPartId(LPCWSTR className, LPCWSTR partName)
{
    const NamedList* list = FindList(kParts, className);
    int index = list ? IndexInList(partName, list->names) : -1;
    return index < 0 ? 0 : index + 1;
}

int WVPSkinGetStateId(LPCWSTR stateSetName, LPCWSTR stateName)
{
    const NamedList* list = FindList(kStates, stateSetName);
    int index = list ? IndexInList(stateName, list->names) : -1;
    return index < 0 ? 0 : index + 1;
}

int WVPSkinGetPropertyId(LPCWSTR propertyName, int* valueType)
{
    if (valueType)
        *valueType = kSkinValueNone;
    for (const PropertyRun& run : kProperties)
    {
        int index = IndexInList(propertyName, run.names);
        if (index >= 0)
        {
            if (valueType)
                *valueType = run.type;
            return run.firstId + index;
        }
    }
    return 0;
}

int WVPSkinGetEnumValue(LPCWSTR propertyName, LPCWSTR valueName)
{
    const NamedList* list = FindList(kEnums, propertyName);
    return list ? IndexInList(valueName, list->names) : -1;
}

UINT WVPSkinMakePropertyKey(int classId, int partId, int stateId, int propertyId)
{
    return ((UINT(stateId) * 4096u + UINT(partId) * 64u + UINT(classId)) * 16384u) + UINT(propertyId);
}

UINT WVPSkinParseSectionName(LPCWSTR sectionText)
{
    if (!sectionText)
        return 0;
    std::vector<WCHAR> text;
    for (LPCWSTR p = sectionText; *p; ++p)
    {
        if (*p == L':')
            return 0;
        if (*p != L' ')
            text.push_back(*p);
    }
    // "Class.Part(State)": the state runs from the '(' to the text's last character, which is
    // taken to be the ')'. Every cut stays inside the text, whatever the user's file holds.
    std::vector<WCHAR> state;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'(')
        {
            if (i + 2 <= text.size())
                state.assign(text.begin() + i + 1, text.end() - 1);
            text.resize(i);
            break;
        }
    std::vector<WCHAR> part;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'.')
        {
            part.assign(text.begin() + i + 1, text.end());
            text.resize(i);
            break;
        }
    text.push_back(0);
    part.push_back(0);
    state.push_back(0);
    int partId = 0, stateId = 0;
    if (part[0])
    {
        partId = WVPSkinGetPartId(text.data(), part.data());
        if (!partId)
            return 0;
    }
    if (state[0])
    {
        stateId = WVPSkinGetStateId(part[0] ? part.data() : text.data(), state.data());
        if (!stateId)
            return 0;
    }
    int classId = WVPSkinGetClassId(text.data());
    if (!classId)
        return 0;
    return WVPSkinMakePropertyKey(classId, partId, stateId, 0);
}
