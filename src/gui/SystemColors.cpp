#include "gui/SystemColors.h"

namespace {

// System colour indexes (the low byte of a system colour number) and the palette entry for each.
QColor SystemColor(unsigned index, const QPalette& p) {
    using R = QPalette::ColorRole;
    const auto role = [&](R r) { return p.color(QPalette::Active, r); };
    switch (index) {
        case 0:
            return role(R::Mid);  // scroll bar
        case 1:
            return role(R::Window);  // desktop background
        case 2:
            return role(R::Highlight);  // active caption
        case 3:
            return role(R::Mid);  // inactive caption
        case 4:
            return role(R::Window);  // menu
        case 5:
            return role(R::Base);  // window
        case 6:
            return role(R::Shadow);  // window frame
        case 7:
            return role(R::WindowText);  // menu text
        case 8:
            return role(R::Text);  // window text
        case 9:
            return role(R::HighlightedText);  // caption text
        case 10:
            return role(R::Window);  // active border
        case 11:
            return role(R::Window);  // inactive border
        case 12:
            return role(R::Mid);  // application workspace
        case 13:
            return role(R::Highlight);  // highlight
        case 14:
            return role(R::HighlightedText);  // highlight text
        case 15:
            return role(R::Button);  // button face
        case 16:
            return role(R::Dark);  // button shadow
        case 17:
            return p.color(QPalette::Disabled, R::Text);  // grey text
        case 18:
            return role(R::ButtonText);  // button text
        case 19:
            return role(R::WindowText);  // inactive caption text
        case 20:
            return role(R::Light);  // button highlight
        case 21:
            return role(R::Shadow);  // 3-D dark shadow
        case 22:
            return role(R::Midlight);  // 3-D light
        case 23:
            return role(R::ToolTipText);  // info text
        case 24:
            return role(R::ToolTipBase);  // info background
        case 26:
            return role(R::Link);  // hot light
        case 27:
            return role(R::Highlight);  // gradient active caption
        case 28:
            return role(R::Mid);  // gradient inactive caption
        case 29:
            return role(R::Highlight);  // menu highlight
        case 30:
            return role(R::Window);  // menu bar
        default:
            return role(R::Base);
    }
}

}  // namespace

QColor ResolveColor(std::uint32_t color, const QPalette& palette) {
    if (color == syscolor::kNone) return QColor(Qt::transparent);
    if (color == syscolor::kDefault) return palette.color(QPalette::Active, QPalette::Base);
    if (color & syscolor::kSystemBit) return SystemColor(color & 0xFFu, palette);
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}
