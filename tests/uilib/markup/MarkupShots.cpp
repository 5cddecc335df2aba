// Photographs sample markup drawn through the engine's entry points into PNG files, for a person to
// look at (tools/screenshots.sh runs it; it is not a test): a text block with inlines and a link,
// a grid, stack and wrap panels, a border, shapes, a gradient and a picture from the resources; and
// the controls (buttons in their states, check boxes, radio buttons, a scroll viewer with both
// bars) in the look the process runs with, classic or visual style, named after it.
// Each sample is parsed and drawn on its own, so one that fails to parse leaves only its cell empty.
// Usage: MarkupShots OUTPUT-FOLDER
#include <windows.h>

#include "ShotWindow.h"
#include "WideText.h"
#include "platform/mfc/ExitSequence.h"
#include "uilib/foundation/WinThemeWrapper.h"
#include "uilib/markup/MarkupButtonBase.h"
#include "uilib/markup/MarkupEntryPoints.h"
#include "uilib/markup/MarkupScrollViewer.h"
#include "uilib/markup/MarkupValues.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace
{
const int kColumns = 2;
const int kCellWidth = 380;
const int kCellHeight = 150;
const int kGap = 8;
const int kTitleHeight = 18;
const int kWidth = kColumns * (kCellWidth + kGap) + kGap;
const LPCWSTR kClassName = L"RwMarkupShots";
const COLORREF kBackground = RGB(212, 208, 200);
const COLORREF kCellColor = RGB(255, 255, 255);

struct Sample
{
    LPCWSTR title;
    LPCWSTR markup;
    // Puts the parsed sample in the state the picture shows (states a pointer would give).
    void (*prepare)(CWVPMarkupUIElement* root);
};

// The look a control shows, set through its state properties.
enum Look
{
    asParsed,
    hot,
    pressed
};

// Gives the n-th logical child of the root the n-th look.
template <size_t N> void SetLooks(CWVPMarkupUIElement* root, const Look (&looks)[N])
{
    const int count = root->GetLogicalChildrenCount();
    for (int i = 0; i < count && i < int(N); ++i)
    {
        CWVPMarkupInputElement* child = MarkupCast<CWVPMarkupInputElement>(root->GetLogicalChild(i));
        if (!child)
            continue;
        if (looks[i] == hot)
            child->SetValue(CWVPMarkupInputElement::s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
        if (looks[i] == pressed)
        {
            child->SetValue(CWVPMarkupInputElement::s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
            child->SetValue(CWVPMarkupButtonBase::s_pIsPressedProperty, CWVPMarkupBool::CreateTrueValue());
        }
    }
}

void ButtonLooks(CWVPMarkupUIElement* root)
{
    SetLooks(root, {asParsed, hot, pressed, asParsed});
}

void ToggleLooks(CWVPMarkupUIElement* root)
{
    SetLooks(root, {asParsed, asParsed, asParsed, hot, asParsed});
}

// Both bars part of the way along, so that each thumb sits inside its track.
void ScrollPartWay(CWVPMarkupUIElement* root)
{
    CWVPMarkupScrollViewer* viewer = MarkupCast<CWVPMarkupScrollViewer>(root);
    if (!viewer)
        return;
    // The limits come from the arranged viewport.
    MarkupMeasureElement(root, kCellWidth, kCellHeight);
    root->Arrange({0, 0, kCellWidth, kCellHeight});
    viewer->SetScrollOffset(CWVPMarkupScrollViewer::orientationVertical, 120);
    viewer->SetScrollOffset(CWVPMarkupScrollViewer::orientationHorizontal, 90);
}

const Sample kSamples[] = {
    {L"Text block with inlines and a hyperlink",
     L"<TextBlock TextWrapping='Wrap' Margin='4'>Plain text, <Bold>bold</Bold>, <Italic>italic</Italic>, "
     L"<Run Foreground='#C00000'>a red run</Run>, <Underline>underlined</Underline>, "
     L"<Bold><Italic>bold italic</Italic></Bold> and a <Hyperlink>hyperlink</Hyperlink> that wraps onto "
     L"further lines when the block is narrow.<LineBreak/><Run FontSize='18' Foreground='#006000'>Large "
     L"green</Run></TextBlock>"},
    {L"Grid: 60 / * / 2* columns, Auto / * rows",
     L"<Grid Background='#F0F0F0' Margin='4'>"
     L"<Grid.ColumnDefinitions><ColumnDefinition Width='60'/><ColumnDefinition Width='*'/>"
     L"<ColumnDefinition Width='2*'/></Grid.ColumnDefinitions>"
     L"<Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition Height='*'/></Grid.RowDefinitions>"
     L"<Border Grid.Column='0' Background='#F4C430'><TextBlock>60 px</TextBlock></Border>"
     L"<Border Grid.Column='1' Background='#8FBC8F'><TextBlock>one star</TextBlock></Border>"
     L"<Border Grid.Column='2' Background='#87CEEB'><TextBlock>two stars</TextBlock></Border>"
     L"<Border Grid.Row='1' Grid.Column='0' Background='#E0B0FF' Margin='0,4,0,0'><TextBlock>1,0</TextBlock>"
     L"</Border>"
     L"<Border Grid.Row='1' Grid.Column='1' Background='#FFDAB9' Margin='4,4,0,0'><TextBlock>1,1</TextBlock>"
     L"</Border>"
     L"<Border Grid.Row='1' Grid.Column='2' Background='#DDA0DD' Margin='4,4,0,0'><TextBlock>cell 1,2</TextBlock>"
     L"</Border></Grid>"},
    {L"Stack panels, vertical and horizontal",
     L"<StackPanel Margin='4'>"
     L"<TextBlock Background='#FFE4B5'>first line</TextBlock>"
     L"<TextBlock Background='#E0FFFF'>second line</TextBlock>"
     L"<StackPanel Orientation='Horizontal' Margin='0,4,0,0'>"
     L"<Rectangle Width='40' Height='30' Fill='#D04040'/><Rectangle Width='40' Height='30' Fill='#40A040'/>"
     L"<Rectangle Width='40' Height='30' Fill='#4040D0'/><TextBlock Margin='6,0,0,0'>beside them</TextBlock>"
     L"</StackPanel></StackPanel>"},
    {L"Wrap panel",
     L"<WrapPanel Margin='4'>"
     L"<Border Background='#FFD700' Padding='6,2,6,2' Margin='2'><TextBlock>one</TextBlock></Border>"
     L"<Border Background='#ADFF2F' Padding='6,2,6,2' Margin='2'><TextBlock>two words</TextBlock></Border>"
     L"<Border Background='#87CEFA' Padding='6,2,6,2' Margin='2'><TextBlock>three</TextBlock></Border>"
     L"<Border Background='#FFB6C1' Padding='6,2,6,2' Margin='2'><TextBlock>a longer item</TextBlock></Border>"
     L"<Border Background='#DDA0DD' Padding='6,2,6,2' Margin='2'><TextBlock>five</TextBlock></Border>"
     L"<Border Background='#F0E68C' Padding='6,2,6,2' Margin='2'><TextBlock>six six six</TextBlock></Border>"
     L"<Border Background='#AFEEEE' Padding='6,2,6,2' Margin='2'><TextBlock>seven</TextBlock></Border>"
     L"<Border Background='#FFA07A' Padding='6,2,6,2' Margin='2'><TextBlock>the eighth item</TextBlock></Border>"
     L"</WrapPanel>"},
    {L"Border: thickness 6,2,6,2, padding 8",
     L"<Border Margin='10' BorderThickness='6,2,6,2' BorderBrush='#203080' Background='#FFFFE0' Padding='8'>"
     L"<TextBlock TextWrapping='Wrap'>Text inside a border with a thick left and right edge and a thin top "
     L"and bottom.</TextBlock></Border>"},
    {L"Shapes: rectangle, ellipse, line, polyline, polygon",
     L"<Canvas>"
     L"<Rectangle Canvas.Left='10' Canvas.Top='10' Width='60' Height='40' Fill='#F08080' Stroke='#800000' "
     L"StrokeThickness='2'/>"
     L"<Ellipse Canvas.Left='85' Canvas.Top='10' Width='70' Height='50' Fill='#90EE90' Stroke='#006400'/>"
     L"<Line Canvas.Left='170' Canvas.Top='10' X1='0' Y1='0' X2='50' Y2='50' Stroke='#000080' "
     L"StrokeThickness='3'/>"
     L"<Polyline Canvas.Left='235' Canvas.Top='10' Points='0,50 15,0 30,50 45,0 60,50' Stroke='#8B008B' "
     L"StrokeThickness='2'/>"
     L"<Polygon Canvas.Left='310' Canvas.Top='10' Points='25,0 50,45 0,45' Fill='#FFD700' Stroke='#B8860B'/>"
     L"</Canvas>"},
    {L"Linear gradients: red to blue, and diagonal",
     L"<StackPanel Margin='4'>"
     L"<Rectangle Height='40'><Rectangle.Fill><LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>"
     L"<GradientStop Offset='0' Color='#FF0000'/><GradientStop Offset='1' Color='#0000FF'/>"
     L"</LinearGradientBrush></Rectangle.Fill></Rectangle>"
     L"<Border Height='50' Margin='0,6,0,0'><Border.Background><LinearGradientBrush>"
     L"<GradientStop Offset='0' Color='#FFFF00'/><GradientStop Offset='0.5' Color='#00C000'/>"
     L"<GradientStop Offset='1' Color='#004080'/></LinearGradientBrush></Border.Background>"
     L"<TextBlock Foreground='#FFFFFF' Margin='6'>diagonal, three stops</TextBlock></Border>"
     L"</StackPanel>"},
    {L"Image from the program's resources: own size and 64 x 64",
     L"<StackPanel Orientation='Horizontal' Margin='8'>"
     L"<Image Source='res://PLAYER' VerticalAlignment='Top'/>"
     L"<Image Source='res://PLAYER' Width='64' Height='64' Margin='12,0,0,0'/>"
     L"</StackPanel>"},
};

const Sample kControls[] = {
    {L"Buttons: normal, hot, pressed, disabled",
     L"<StackPanel Orientation='Horizontal' Margin='8' VerticalAlignment='Top'>"
     L"<Button Margin='4' Padding='10,4,10,4'>Normal</Button>"
     L"<Button Margin='4' Padding='10,4,10,4'>Hot</Button>"
     L"<Button Margin='4' Padding='10,4,10,4'>Pressed</Button>"
     L"<Button Margin='4' Padding='10,4,10,4' IsEnabled='False'>Disabled</Button></StackPanel>",
     ButtonLooks},
    {L"Check boxes: unchecked, checked, indeterminate; hot; disabled",
     L"<StackPanel Margin='8'>"
     L"<CheckBox Margin='2'>Unchecked</CheckBox>"
     L"<CheckBox Margin='2' IsChecked='True'>Checked</CheckBox>"
     L"<CheckBox Margin='2' IsThreeState='True' IsChecked=''>Indeterminate</CheckBox>"
     L"<CheckBox Margin='2' IsChecked='True'>Checked and hot</CheckBox>"
     L"<CheckBox Margin='2' IsChecked='True' IsEnabled='False'>Checked, disabled</CheckBox></StackPanel>",
     ToggleLooks},
    {L"Radio buttons: a group with the second chosen; hot; disabled",
     L"<StackPanel Margin='8'>"
     L"<RadioButton Margin='2'>First choice</RadioButton>"
     L"<RadioButton Margin='2' IsChecked='True'>Second choice</RadioButton>"
     L"<RadioButton Margin='2'>Third choice</RadioButton>"
     L"<RadioButton Margin='2'>Fourth, hot</RadioButton>"
     L"<RadioButton Margin='2' IsEnabled='False'>Fifth, disabled</RadioButton></StackPanel>",
     ToggleLooks},
    {L"Scroll viewer with both bars, scrolled part of the way",
     L"<ScrollViewer HorizontalScrollBarVisibility='Auto' Margin='8'>"
     L"<Border Width='600' Height='400' BorderThickness='4' BorderBrush='#203080'>"
     L"<Border.Background><LinearGradientBrush StartPoint='0,0' EndPoint='1,1'>"
     L"<GradientStop Offset='0' Color='#FFF0C0'/><GradientStop Offset='1' Color='#80A0E0'/>"
     L"</LinearGradientBrush></Border.Background>"
     L"<TextBlock Margin='100,130,0,0' FontSize='18'>Content of 600 x 400 pixels</TextBlock></Border>"
     L"</ScrollViewer>",
     ScrollPartWay},
};

// One picture: a table of samples, parsed and drawn by the host window.
struct Sheet
{
    const Sample* samples;
    int count;
    CWVPMarkupContext* context = nullptr;
    std::vector<CWVPMarkupUIElement*> roots;

    int Height() const
    {
        const int rows = (count + kColumns - 1) / kColumns;
        return rows * (kCellHeight + kTitleHeight + kGap) + kGap;
    }
};
Sheet* g_sheet = nullptr;

RECT CellRect(int index)
{
    const int x = kGap + (index % kColumns) * (kCellWidth + kGap);
    const int y = kGap + (index / kColumns) * (kCellHeight + kTitleHeight + kGap) + kTitleHeight;
    return {x, y, x + kCellWidth, y + kCellHeight};
}

void Paint(HWND hwnd, HDC dc)
{
    RECT all = {0, 0, kWidth, g_sheet->Height()};
    HBRUSH background = ::CreateSolidBrush(kBackground);
    ::FillRect(dc, &all, background);
    ::DeleteObject(background);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < g_sheet->count; ++i)
    {
        RECT cell = CellRect(i);
        const LPCWSTR title = g_sheet->samples[i].title;
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::TextOutW(dc, cell.left, cell.top - kTitleHeight + 2, title, ::lstrlenW(title));
        HBRUSH white = ::CreateSolidBrush(kCellColor);
        ::FillRect(dc, &cell, white);
        ::DeleteObject(white);
        // As a host control does: its font before measuring, its text colour before drawing.
        MarkupSetDefaultFont(g_sheet->context, font, static_cast<COLORREF>(-1));
        MarkupMeasureElement(g_sheet->roots[i], kCellWidth, kCellHeight);
        MarkupSetDefaultFont(g_sheet->context, nullptr, ::GetSysColor(COLOR_WINDOWTEXT));
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
        MarkupRenderElement(g_sheet->roots[i], dc, &cell);
        ::RestoreDC(dc, saved);
    }
    ::SelectObject(dc, oldFont);
}

LRESULT CALLBACK ShotProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        LRESULT result = 0;
        if (rwtest::HandlePaintMessage(hwnd, message, wParam, Paint, &result))
            return result;
        if (g_sheet)
            for (CWVPMarkupUIElement* root : g_sheet->roots)
                if (MarkupRelayMessage(root, message, wParam, lParam, &result))
                    return result;
    }
    catch (...)
    {
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Parses a sheet's samples in a window of its own and writes its picture.
bool WriteSheet(const Sample* samples, int count, const std::string& path)
{
    Sheet sheet;
    sheet.samples = samples;
    sheet.count = count;
    HWND hwnd = rwtest::CreateShotWindow(kClassName, ShotProc, L"Markup", kWidth, sheet.Height());
    sheet.context = MarkupCreateContext(hwnd);
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupUIElement* root = MarkupParseText(sheet.context, samples[i].markup);
        if (!root)
            printf("sample %d (%s) did not parse\n", i, rwtest::Utf8(samples[i].title).c_str());
        else if (samples[i].prepare)
            samples[i].prepare(root);
        sheet.roots.push_back(root);
    }
    g_sheet = &sheet;
    const bool written = rwtest::WriteClientPng(hwnd, kWidth, sheet.Height(), path);
    ::DestroyWindow(hwnd);
    g_sheet = nullptr;
    for (CWVPMarkupUIElement*& root : sheet.roots)
        MarkupReleaseElement(&root);
    MarkupReleaseContext(&sheet.context);
    return written;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    if (!::FindResourceW(nullptr, L"PLAYER", reinterpret_cast<LPCWSTR>(RT_BITMAP)))
        printf("the picture resource PLAYER is missing\n");
    // The controls draw through the visual style where one is active; the picture says which.
    bool themed = false;
    {
        CWVPWinThemeWrapper theme(TRUE);
        themed = theme.OpenThemeData(nullptr, L"BUTTON") != nullptr && theme.IsThemeUsable();
        theme.CloseThemeData();
    }
    int failures = 0;
    // The samples draw no visual-style part: one picture of them, from the classic run.
    if (!themed)
        failures += !WriteSheet(kSamples, sizeof(kSamples) / sizeof(kSamples[0]), folder + "/markup-samples.png");
    failures += !WriteSheet(kControls, sizeof(kControls) / sizeof(kControls[0]),
                            folder + (themed ? "/markup-controls-themed.png" : "/markup-controls-classic.png"));
    AfxRunExitHandlers();
    return failures ? 1 : 0;
}
