#include "platform/ui/BuiltInClasses.h"

#include "platform/ui/ButtonClass.h"
#include "platform/ui/EditClass.h"
#include "platform/ui/StaticClass.h"
#include "platform/ui/TreeViewClass.h"

namespace {

template <class T>
std::unique_ptr<WindowClass> Make() {
    return std::make_unique<T>();
}

constexpr BuiltInClass kClasses[] = {
    {"Edit", &Make<EditClass>},
    {"Button", &Make<ButtonClass>},
    {"Static", &Make<StaticClass>},
    {WC_TREEVIEW, &Make<TreeViewClass>},
};

}  // namespace

std::span<const BuiltInClass> BuiltInClasses() { return kClasses; }
