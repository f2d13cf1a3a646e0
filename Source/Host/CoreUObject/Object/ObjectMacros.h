#pragma once

/**
 * Reflection markers. They expand to nothing in C++; the header tool reads them at build time
 * and writes the reflection data (classes, properties, functions, enumerations and their
 * metadata) into a generated source of the module.
 *
 *   VT_CLASS(ToolTip = "...")                      before a class derived from UObject
 *   VT_PROPERTY(EditAnywhere, Category = "...")    before a member variable
 *   VT_FUNCTION(CallInEditor, Category = "...")    before a member function
 *   VT_ENUM(...) / VT_UMETA(DisplayName = "...")   before an enum class / after an enumerator
 *
 * Arguments are specifiers and metadata. The specifiers EditAnywhere (editable in the
 * details panel), VisibleAnywhere (shown read-only) and Abstract (class cannot be created)
 * set flags; every other argument is metadata, "Key = "Value"" or a bare Key meaning "true".
 */
#define VT_CLASS(...)
#define VT_PROPERTY(...)
#define VT_FUNCTION(...)
#define VT_ENUM(...)
#define VT_UMETA(...)

#include <utility>

class UObject;
class UClass;

/**
 * Goes first in the body of every reflected class. It declares the class's reflection entry
 * point and gives the object system a way to copy and exchange the object's whole state for
 * undo. Abstract classes use VT_BODY_ABSTRACT, which cannot copy.
 */
#define VT_BODY_COMMON(ClassName, SuperName)                                                                 \
public:                                                                                                      \
    using Super = SuperName;                                                                                 \
    using ThisClass = ClassName;                                                                             \
    static UClass* StaticClass();                                                                            \
                                                                                                             \
private:                                                                                                     \
    friend struct VTReflection_##ClassName;

#define VT_BODY(ClassName, SuperName)                                                                        \
    VT_BODY_COMMON(ClassName, SuperName)                                                                     \
                                                                                                             \
protected:                                                                                                   \
    UObject* CloneForUndo() const override                                                                   \
    {                                                                                                        \
        return new ClassName(*this);                                                                         \
    }                                                                                                        \
    void SwapStateForUndo(UObject& Snapshot) override                                                        \
    {                                                                                                        \
        std::swap(*this, static_cast<ClassName&>(Snapshot));                                                 \
    }                                                                                                        \
                                                                                                             \
public:

#define VT_BODY_ABSTRACT(ClassName, SuperName)                                                               \
    VT_BODY_COMMON(ClassName, SuperName)                                                                     \
                                                                                                             \
public:

/** Declares the reflection entry of an enumeration; goes right after a VT_ENUM enum class. */
#define VT_ENUM_BODY(EnumName) class UEnum* StaticEnumOf(EnumName);
