// The element classes of the markup language as registered types with their properties and
// content rules: text elements and inlines, the text block, panels, grid, canvas, border, page,
// shapes, images, controls and buttons, scrolling and keyboard navigation. Their own layout and
// drawing build on the framework element.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPMarkupContext;
class CWVPMarkupInlineCollection;

// Replaces the single child held in slot: the previous one loses its parent and is released, the
// new one (whose reference is taken over) gets owner as its logical parent.
void MarkupReplaceChild(CWVPMarkupObject* owner, CWVPMarkupUIElement*& slot, CWVPMarkupUIElement* child);
// Raises the builder's error for content that is not a UI element where only one is accepted.
[[noreturn]] void MarkupThrowNotUIElement(CWVPMarkupObject* content, CWVPMarkupObject* owner);
class CWVPMarkupUIElementCollection;
class CWVPMarkupRoutedEvent;

// ---- Text content ---------------------------------------------------------------------------
#include "uilib/markup/MarkupFrameworkContentElement.h"
#include "uilib/markup/MarkupTextElement.h"
#include "uilib/markup/MarkupInline.h"
#include "uilib/markup/MarkupRun.h"
#include "uilib/markup/MarkupSpan.h"
#include "uilib/markup/MarkupHyperlink.h"
#include "uilib/markup/MarkupInlineUIContainer.h"
#include "uilib/markup/MarkupTextBlock.h"

// ---- Panels ---------------------------------------------------------------------------------
#include "uilib/markup/MarkupCanvas.h"
#include "uilib/markup/MarkupGrid.h"
#include "uilib/markup/MarkupPanel.h"
#include "uilib/markup/MarkupStackPanel.h"
#include "uilib/markup/MarkupWrapPanel.h"

// ---- Single-child elements ------------------------------------------------------------------
#include "uilib/markup/MarkupBorder.h"
#include "uilib/markup/MarkupDecorator.h"
#include "uilib/markup/MarkupPage.h"

// ---- Shapes ---------------------------------------------------------------------------------
#include "uilib/markup/MarkupShape.h"
#include "uilib/markup/MarkupImage.h"

// ---- Controls -------------------------------------------------------------------------------
#include "uilib/markup/MarkupControl.h"
#include "uilib/markup/MarkupContentControl.h"
#include "uilib/markup/MarkupButtonBase.h"
#include "uilib/markup/MarkupButton.h"
#include "uilib/markup/MarkupToggleButton.h"
#include "uilib/markup/MarkupCheckBox.h"
#include "uilib/markup/MarkupRadioButton.h"

// ---- Scrolling ------------------------------------------------------------------------------
#include "uilib/markup/MarkupScrollViewer.h"
#include "uilib/markup/MarkupScrollBar.h"
#include "uilib/markup/MarkupScrollBarGripper.h"

// ---- Keyboard navigation --------------------------------------------------------------------
#include "uilib/markup/MarkupKeyboardNavigation.h"
