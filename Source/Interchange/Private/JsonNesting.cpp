#include "Interchange/Private/JsonNesting.h"

#include "Interchange/Private/InterchangeFailure.h"

void CheckJsonNesting(std::string_view Text, int32 MaxDepth)
{
    int32 Depth = 0;
    bool bInString = false;
    bool bEscaped = false;
    for (const char Character : Text)
    {
        if (bInString)
        {
            if (bEscaped)
            {
                bEscaped = false;
            }
            else if (Character == '\\')
            {
                bEscaped = true;
            }
            else if (Character == '"')
            {
                bInString = false;
            }
            continue;
        }
        if (Character == '"')
        {
            bInString = true;
        }
        else if (Character == '[' || Character == '{')
        {
            if (++Depth > MaxDepth)
            {
                FailImport("malformed glTF: its JSON nests arrays and objects more than %d deep", MaxDepth);
            }
        }
        else if (Character == ']' || Character == '}')
        {
            --Depth;
        }
    }
}
