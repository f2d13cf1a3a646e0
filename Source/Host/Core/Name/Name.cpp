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
    static FNameTable& Get()
    {
        static FNameTable Table;
        return Table;
    }

    int32 FindOrAdd(const char* Text)
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
        const auto [It, bInserted] = Lookup.try_emplace(std::move(Key), static_cast<int32>(Spellings.size()));
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
    std::unordered_map<std::string, int32> Lookup;
};
} // namespace

FName::FName(const char* Text) : Index(Text ? FNameTable::Get().FindOrAdd(Text) : 0)
{
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
