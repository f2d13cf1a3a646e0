#include "Slate/Styling/ApplicationStyle.h"

FName FApplicationStyle::GetStyleSetName()
{
    static const FName StyleSetName("VantorEdStyle");
    return StyleSetName;
}
