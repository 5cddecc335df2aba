#pragma once
// The names of a skin's class-data text: classes, parts, states, properties and enumeration values
// with their numbers (those of the visual-style class-data files), and the property key that joins
// them. Pure functions over fixed tables, used by the schema reader and every skin query.
#include <windows.h>

// Value types of skin properties.
enum WVPSkinValueType
{
    kSkinValueNone = 0,
    kSkinValueString = 1,
    kSkinValueInt = 2,
    kSkinValueBool = 3,
    kSkinValueColor = 4,
    kSkinValueRect = 5,
    kSkinValueFont = 6,
    kSkinValueIntList = 7,
    kSkinValueEnum = 8,
    kSkinValuePosition = 9,
};

// Class identifiers the framework asks for by number.
const int kSkinClassGlobals = 1;
const int kSkinClassDocumentation = 2;
const int kSkinClassSysMetrics = 3;
const int kSkinClassWindow = 6;

// Property identifiers read by the framework.
enum WVPSkinProperty
{
    kSkinPropCaptionFont = 801,
    kSkinPropSmallCaptionFont = 802,
    kSkinPropCaptionBarHeight = 1205,
    kSkinPropSmCaptionBarHeight = 1207,
    kSkinPropScrollBarWidth = 1202,
    kSkinPropScrollBarHeight = 1203,
    kSkinPropFirstSysColor = 1601, // + COLOR_ index
    kSkinPropLastSysColor = 1631,
    kSkinPropTransparent = 2201,
    kSkinPropBorderOnly = 2203,
    kSkinPropGlyphTransparent = 2206,
    kSkinPropMirrorImage = 2209,
    kSkinPropUniformSizing = 2210,
    kSkinPropImageCount = 2401,
    kSkinPropAlphaLevel = 2402,
    kSkinPropBorderSize = 2403,
    kSkinPropTrueSizeStretchMark = 2419,
    kSkinPropImageFile = 3001,
    kSkinPropImageFile1 = 3002,
    kSkinPropStockImageFile = 3007,
    kSkinPropGlyphImageFile = 3008,
    kSkinPropTextShadowOffset = 3402,
    kSkinPropSizingMargins = 3601,
    kSkinPropContentMargins = 3602,
    kSkinPropCaptionMargins = 3603,
    kSkinPropBorderColor = 3801,
    kSkinPropFillColor = 3802,
    kSkinPropTextColor = 3803,
    kSkinPropTransparentColor = 3809,
    kSkinPropTextShadowColor = 3818,
    kSkinPropBgType = 4001,
    kSkinPropSizingType = 4004,
    kSkinPropContentAlignment = 4006,
    kSkinPropVAlign = 4007,
    kSkinPropTextShadowType = 4010,
    kSkinPropImageLayout = 4011,
    kSkinPropGlyphType = 4012,
    kSkinPropImageSelectType = 4013,
};

// Enumeration values the framework compares with.
const int kSkinBgImageFile = 0;
const int kSkinBgBorderFill = 1;
const int kSkinSizingTrueSize = 0;
const int kSkinSizingStretch = 1;
const int kSkinSizingTile = 2;
const int kSkinLayoutVertical = 0;
const int kSkinLayoutHorizontal = 1;
const int kSkinGlyphImage = 1;
const int kSkinImageSelectSize = 1;

int WVPSkinGetClassId(LPCWSTR className);
int WVPSkinGetPartId(LPCWSTR className, LPCWSTR partName);
int WVPSkinGetStateId(LPCWSTR stateSetName, LPCWSTR stateName);
// The property's identifier (0 when unknown) and its value type.
int WVPSkinGetPropertyId(LPCWSTR propertyName, int* valueType);
// The published number of a value of an enumerated property; -1 when unknown.
int WVPSkinGetEnumValue(LPCWSTR propertyName, LPCWSTR valueName);
// ((state * 4096 + part * 64 + class) * 16384) + property, modulo 2^32.
UINT WVPSkinMakePropertyKey(int classId, int partId, int stateId, int propertyId);
// The key (property 0) of a section header's text, without its brackets; 0 for a section the
// framework ignores (application sections with ':' and unknown names).
UINT WVPSkinParseSectionName(LPCWSTR sectionText);
