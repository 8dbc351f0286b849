// Login.ini as any bytes at all: reading never fails, values stay within
// their limit, and what junk follows a well-formed entry cannot change it.

#include "fuzz_input.h"

#include "core/profile_reader.h"

using fuzzing::require;
using quelvo::ProfileReader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const ProfileReader junk = ProfileReader::fromBytes(bytes);
    const std::u16string servidor = junk.readString(u"Connection", u"Servidor", u"");
    require(servidor.size() <= ProfileReader::MaxValueLength, "values are cut at 2047 characters");
    (void)junk.readInteger(u"Connection", u"Porta", 0);
    (void)junk.readString(u"", u"", u"fallback");

    const std::string good = "[Connection]\r\nServidor=db01\r\nPorta=3050\r\n";
    const ProfileReader after = ProfileReader::fromBytes(good + std::string(bytes));
    require(after.readString(u"Connection", u"Servidor", u"") == u"db01", "the first Servidor wins over junk after it");
    require(after.readInteger(u"Connection", u"Porta", 0) == 3050, "the first Porta wins over junk after it");
    return 0;
}
