#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

class CRibbonWidget;

// The properties the ribbon asks its application about, and the values they
// take: what a command handler answers and what an execution carries.
enum class RibbonKey { Enabled, BooleanValue, SelectedItem, RecentItems };

struct RibbonItem {
    QString label;
    QString description;
    bool numbered = true;  // shown with its number, which is its access key
};
using RibbonItemList = QList<RibbonItem>;

using RibbonValue = std::variant<std::monostate, bool, unsigned, RibbonItemList>;

enum class RibbonVerb { Execute, Preview, CancelPreview };
enum class RibbonViewVerb { Create, Destroy, Size };

// Invalidation flags: the enabled state, the value (checked state, recent
// items), or both.
enum RibbonInvalidation : unsigned { RIBBON_INVALIDATE_STATE = 1, RIBBON_INVALIDATE_VALUE = 2 };

// The program's side of the ribbon. Execute gets the key and value the
// control changed (a toggle's new boolean, a chosen recent item's index).
// UpdateProperty answers a property of a command, or nothing when it does
// not handle the pair: the ribbon then keeps a command enabled and a toggle
// unchecked.
class IRibbonCommandHandler {
public:
    virtual void Execute(unsigned command, RibbonVerb verb, std::optional<RibbonKey> key, const RibbonValue& value) = 0;
    virtual std::optional<RibbonValue> UpdateProperty(unsigned command, RibbonKey key) = 0;

protected:
    ~IRibbonCommandHandler() = default;
};

// Told when the ribbon view is created, resized and destroyed.
class IRibbonApplication {
public:
    virtual IRibbonCommandHandler& CommandHandler() = 0;
    virtual void OnViewChanged(RibbonViewVerb verb, CRibbonWidget& ribbon) = 0;

protected:
    ~IRibbonApplication() = default;
};
