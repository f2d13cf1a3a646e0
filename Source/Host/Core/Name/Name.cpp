#include "Core/Name/Name.h"

#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <unordered_map>

namespace
{
/** The process-wide table of names. Entries are never removed, so spellings stay valid. */
class FNameTable
{
public:
    /** Never destroyed, so that names stay usable while other statics are destroyed. */
    static FNameTable& Get()
    {
        static FNameTable& Table = *new FNameTable();
        return Table;
    }

    /** The index of a spelling; INDEX_NONE when it was never made and bAdd is false. */
    int32 Lookup(const char* Text, bool bAdd)
    {
        std::string Key(Text);
        for (char& Character : Key)
        {
            Character = VT::ToLowerAscii(Character);
        }
        if (Key.empty() || Key == "none")
        {
            return 0;
        }
        std::scoped_lock Lock(Mutex);
        if (!bAdd)
        {
            const auto Found = Lookups.find(Key);
            return Found == Lookups.end() ? INDEX_NONE : Found->second;
        }
        const auto [It, bInserted] =
            Lookups.try_emplace(std::move(Key), static_cast<int32>(Spellings.size()));
        if (bInserted)
        {
            Spellings.emplace_back(Text);
        }
        return It->second;
    }

    const std::string& Spelling(int32 Index)
    {
        std::scoped_lock Lock(Mutex);
        return Spellings[static_cast<size_t>(Index)];
    }

private:
    FNameTable() { Spellings.emplace_back("None"); }

    std::mutex Mutex;
    std::deque<std::string> Spellings;
    std::unordered_map<std::string, int32> Lookups;
};
} // namespace

FName::FName(const char* Text) : Index(Text ? FNameTable::Get().Lookup(Text, true) : 0)
{
}

FName FName::Find(const char* Text)
{
    FName Name;
    const int32 Found = Text ? FNameTable::Get().Lookup(Text, false) : 0;
    Name.Index = Found == INDEX_NONE ? 0 : Found;
    return Name;
}

bool FName::operator==(const char* Text) const
{
    const int32 Found = Text ? FNameTable::Get().Lookup(Text, false) : 0;
    return Found == Index;
}

FString FName::ToString() const
{
    return FString(GetPlainName());
}

const char* FName::GetPlainName() const
{
    return FNameTable::Get().Spelling(Index).c_str();
}

bool FName::LexicalLess(const FName& Other) const
{
    return ToString().Compare(Other.ToString(), ESearchCase::IgnoreCase) < 0;
}

std::ostream& operator<<(std::ostream& Stream, const FName& Name)
{
    return Stream << Name.GetPlainName();
}
