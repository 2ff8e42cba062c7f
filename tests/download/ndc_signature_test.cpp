// Signed NDC files: which fetched files the merge, the update list and the local update check
// take once trusted keys are configured, and the reason given for each one refused.
#include "download/ndc_canonical.h"
#include "download/ndc_signature.h"
#include "frame/service_worker.h"
#include "harness/call_site.h"
#include "harness/held_file.h"
#include "harness/host_tool.h"
#include "harness/registry_sandbox.h"
#include "ndc_fixture.h"
#include "support/base64_text.h"
#include "support/ecdsa_p256.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

const char* const kKeysKey = "Software\\Norvane\\Download";

const char* const kInstalled = "[Header]\r\nSerial=5\r\n"
                               "[rechnung]\r\nDateVer=1\r\nUpdate=1\r\nQuotaDiced=7\r\n"
                               "[lohn]\r\nDateVer=3\r\nUpdate=1\r\nDownload=1\r\n";
const char* const kFetched =
    "[Header]\r\n; made by the publisher\r\nName = Demo\r\nSerial=6\r\n\r\n"
    "[rechnung]\r\nDateVer=2\r\nSize=512\r\n"
    "[lohn]\r\nDateVer=3\r\n[elster]\r\nDateVer=1\r\n";

const std::string kUnsigned = "Die NDC ist nicht signiert.";
const std::string kMismatch = "Die Signatur passt nicht zum Inhalt der NDC.";
const std::string kBrokenKeys =
    "Die Liste der vertrauensw\xFCrdigen Schl\xFCssel (NdcPublicKeys) ist fehlerhaft.";

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct KeyPair {
    std::string privateKey, publicText, keyId;
};

class NdcSignature : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        // Wine's CNG hashes without the 32-bit GnuTLS but cannot make or import a key: every
        // case below would be refused for that reason, so it stops here instead.
        ASSERT_EQ(0, m_cng.Status());
        for (KeyPair* pair : {&m_a, &m_b}) {
            ASSERT_EQ(0, m_cng.GenerateKey(pair->privateKey))
                << "no ECDSA keys from CNG (under Wine: libgnutls30:i386 missing)";
            pair->publicText = nv::EncodeBase64(pair->privateKey.substr(0, 64));
            ASSERT_EQ(0, nv::NdcKeyId(m_cng, pair->privateKey.substr(0, 64), pair->keyId));
        }
        Configure({m_a.publicText});
        m_installed = m_folder.Write("installed.ndc", kInstalled);
    }

    void Configure(const std::vector<std::string>& entries, DWORD type = REG_MULTI_SZ)
    {
        std::string data;
        for (const std::string& entry : entries)
            data += entry + '\0';
        m_registry.Set(HKEY_LOCAL_MACHINE, kKeysKey, "NdcPublicKeys", data, type);
    }

    std::string SignatureText(const std::string& text, const KeyPair& key)
    {
        std::string digest, signature;
        EXPECT_EQ(0, m_cng.Sha256(nv::CanonicalNdcContent(text), digest));
        EXPECT_EQ(0, m_cng.Sign(key.privateKey, digest, signature));
        return nv::EncodeBase64(signature);
    }

    std::string Signed(const std::string& text, const KeyPair& key, std::string signature = "")
    {
        return text + "[!NdcSignature]\r\nKeyId=" + key.keyId +
               "\r\nSignature=" + (signature.empty() ? SignatureText(text, key) : signature) +
               "\r\n";
    }

    // The merge's message for `fetched`, empty when it merged (result 0). A refused file
    // leaves both files as they were.
    std::string Merge(const std::string& fetched, CallSite site = {})
    {
        return MergeAgain(m_folder.Write("fetched.ndc", fetched), site);
    }
    std::string MergeAgain(const std::string& path, CallSite site = {})
    {
        const std::string before = ReadWholeFile(path);
        std::string message;
        const int result = CServiceWorker().MergeNdc(path, m_installed, &message);
        const std::string frame =
            "Es trat ein MFC-Fehler beim Mergen der NDC '" + m_installed + "' auf.\nFehler: 0\n";
        if (result != -1 || message.compare(0, frame.size(), frame) != 0) {
            if (result != 0)
                ADD_FAILURE_AT(site.file, site.line) << result << " " << message;
            return message;
        }
        if (before != ReadWholeFile(path) || ReadWholeFile(m_installed) != kInstalled)
            ADD_FAILURE_AT(site.file, site.line) << "a refused merge wrote";
        return message.substr(frame.size());
    }

    nv::CEcdsaP256 m_cng;
    KeyPair m_a, m_b;
    RegistrySandbox m_registry;
    TempFolder m_folder;
    std::string m_installed;
};

TEST_F(NdcSignature, SignedFileMergesAndEveryChangeIsRefusedWithItsReason)
{
    const std::string good = Signed(kFetched, m_a);
    std::string flipped, longer;
    nv::DecodeBase64(SignatureText(kFetched, m_a), flipped);
    longer = flipped + '\x01';
    flipped[17] ^= 0x08;
    const struct {
        const char* name;
        std::string file;
        std::string reason;
    } rows[] = {
        {"signed", good, ""},
        {"a value", Replaced(good, "DateVer=2", "DateVer=9"), kMismatch},
        {"a key added", Replaced(good, "[elster]\r\n", "[elster]\r\nRun=x.exe\r\n"), kMismatch},
        {"a section added", good + "[extra]\r\nDateVer=1\r\n", kMismatch},
        {"a section removed", Replaced(good, "[elster]\r\nDateVer=1\r\n", ""), kMismatch},
        {"two sections swapped",
         Replaced(good, "[lohn]\r\nDateVer=3\r\n[elster]\r\nDateVer=1\r\n",
                  "[elster]\r\nDateVer=1\r\n[lohn]\r\nDateVer=3\r\n"),
         kMismatch},
        {"the header", Replaced(good, "Name = Demo", "Name = Demo2"), kMismatch},
        {"a bit of the signature", Signed(kFetched, m_a, nv::EncodeBase64(flipped)), kMismatch},
        {"65 bytes", Signed(kFetched, m_a, nv::EncodeBase64(longer)), kMismatch},
        {"bad base64", Replaced(good, "Signature=", "Signature= *"), kMismatch},
        {"another key", Signed(kFetched, m_b),
         "Die NDC ist mit einem Schl\xFCssel signiert, der auf diesem Rechner nicht hinterlegt ist "
         "(KeyId " +
             m_b.keyId + ")."},
        {"no signature", kFetched, kUnsigned},
        {"no serial", Signed(Replaced(kFetched, "Serial=6", "Serial=6x"), m_a),
         "Die NDC hat keine g\xFCltige Serial im Abschnitt [Header]."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.reason, Merge(row.file)) << row.name;

    // The update list: empty for a file refused; with keys and without, never the signature.
    const std::string path = m_folder.Write("fetched.ndc", rows[1].file);
    EXPECT_EQ(std::string::npos,
              CServiceWorker().GetUpdates(m_installed, path, true, 0, 0).find("<Update>"));
    m_folder.Write("fetched.ndc", good);
    for (int keys = 0; keys < 2; ++keys) {
        const std::string list = CServiceWorker().GetUpdates(m_installed, path, true, 0, 0);
        EXPECT_NE(std::string::npos, list.find("<Section>elster</Section>")) << list;
        EXPECT_EQ(std::string::npos, nv::ToLower(list).find("ndcsignature")) << list;
        m_registry.DeleteValue(HKEY_LOCAL_MACHINE, kKeysKey, "NdcPublicKeys");
    }
}

TEST_F(NdcSignature, TheModulesOwnWritesAndLineEndingsKeepTheSignatureALocalCopyNeedsOne)
{
    const std::string good = Signed(kFetched, m_a);
    const std::string path = m_folder.Write("fetched.ndc", good);
    EXPECT_EQ("", MergeAgain(path));
    EXPECT_EQ("7", ReadNdcKey(path, "rechnung", "QuotaDiced"));
    EXPECT_EQ("1", ReadNdcKey(path, "lohn", "Update"));
    EXPECT_EQ(0, CServiceWorker().UpdateAsDownloaded("elster", path, 1));
    EXPECT_EQ(0, CServiceWorker().UpdateAsUpdated("Elster", path, 1));
    EXPECT_NE(std::string::npos,
              CServiceWorker().GetUpdates(m_installed, path, true, 0, 0).find("<Section>"));
    {
        // Held by another program: the platform's key writes, which rewrite the whole file.
        HeldFile held(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_EQ(0, CServiceWorker().UpdateAsDownloaded("rechnung", path, 1));
        EXPECT_EQ("", MergeAgain(path));
    }
    EXPECT_EQ("1", ReadNdcKey(path, "rechnung", "Download"));
    EXPECT_EQ("", MergeAgain(path));

    std::string lineFeeds = good;
    for (size_t at; (at = lineFeeds.find("\r\n")) != std::string::npos;)
        lineFeeds.erase(at, 1);
    EXPECT_EQ("", Merge(lineFeeds));
    EXPECT_EQ("", Merge(Replaced(good, "; made by", "; changed, made by")));

    // A local copy of the installed file counts only when signed.
    m_folder.Write("local\\installed.ndc", kFetched);
    m_folder.Write("installed.ndc", "[Header]\r\nLocalURL=" + m_folder.Path() + "\\local\r\n");
    EXPECT_EQ(0, CServiceWorker().CountLocalUpdates(m_installed));
    m_folder.Write("local\\installed.ndc", Signed(kFetched, m_a));
    EXPECT_LT(0, CServiceWorker().CountLocalUpdates(m_installed));
}

TEST_F(NdcSignature, RotationRollbackAndConfiguration)
{
    Configure({m_a.publicText, m_b.publicText});
    std::string none;
    EXPECT_EQ(-3, CServiceWorker().MergeNdc(m_folder.File("none.ndc"), m_installed, &none)) << none;
    EXPECT_EQ("", Merge(Signed(kFetched, m_a)));
    EXPECT_EQ("", Merge(Signed(kFetched, m_b)));

    EXPECT_EQ("", Merge(Signed(Replaced(kFetched, "Serial=6", "Serial=5"), m_a)));
    EXPECT_EQ("Die NDC ist \xE4lter als die installierte (Serial 4, installiert 5).",
              Merge(Signed(Replaced(kFetched, "Serial=6", "Serial=4"), m_a)));

    const struct {
        const char* name;
        std::vector<std::string> entries;
        DWORD type;
        std::string reason;
    } rows[] = {
        {"one key as a string", {m_b.publicText}, REG_SZ, ""},
        {"one entry broken", {m_b.publicText, "kein Schluessel"}, REG_MULTI_SZ, kBrokenKeys},
        {"a key of 65 bytes", {nv::EncodeBase64(std::string(65, 'k'))}, REG_MULTI_SZ, kBrokenKeys},
        {"a string of another type", {m_b.publicText}, REG_EXPAND_SZ, kBrokenKeys},
    };
    for (const auto& row : rows) {
        Configure(row.entries, row.type);
        EXPECT_EQ(row.reason, Merge(Signed(kFetched, m_b))) << row.name;
    }

    // No value, or one without entries: today's merge, byte for byte.
    std::string merged[3];
    for (int kind = 0; kind < 3; ++kind) {
        kind ? Configure({}, kind == 1 ? REG_MULTI_SZ : REG_SZ)
             : m_registry.DeleteValue(HKEY_LOCAL_MACHINE, kKeysKey, "NdcPublicKeys");
        EXPECT_EQ("", Merge(kFetched)) << kind;
        merged[kind] = ReadWholeFile(m_folder.File("fetched.ndc"));
        EXPECT_EQ(merged[0], merged[kind]) << kind;
    }
    EXPECT_NE(kFetched, merged[0]);
}

// The publisher's tool and the module agree; the private key is never printed.
TEST_F(NdcSignature, ToolMakesKeysSignsAndVerifies)
{
    const auto nvsign = [](const std::string& arguments) {
        return RunHostTool(arguments, nullptr, "nvsign.exe");
    };
    const std::string key = m_folder.File("publisher.key");
    const std::string made = nvsign("keygen " + Quoted(key));
    const std::string keyText = nv::Trim(ReadWholeFile(key));
    std::string privateKey;
    ASSERT_TRUE(nv::DecodeBase64(keyText, privateKey) && privateKey.size() == 96) << made;
    const std::string publicText = nv::EncodeBase64(privateKey.substr(0, 64));
    EXPECT_NE(std::string::npos, made.find(publicText + "\r\n")) << made;
    EXPECT_EQ(std::string::npos, made.find(keyText));
    EXPECT_EQ(std::string::npos, made.find(nv::EncodeBase64(privateKey.substr(64))));
    EXPECT_NE(std::string::npos, nvsign("keygen " + Quoted(key)).find("exit code 1"));
    EXPECT_EQ(keyText, nv::Trim(ReadWholeFile(key)));

    // Signed over another key's signature: one signature section, the tool's.
    const std::string path = m_folder.Write("fetched.ndc", Signed(kFetched, m_b));
    const std::string sign = "sign " + Quoted(key) + " " + Quoted(path);
    EXPECT_NE(std::string::npos, nvsign(sign).find("exit code 0"));
    const std::string text = nv::ToLower(ReadWholeFile(path));
    EXPECT_EQ(text.find("[!ndcsignature]"), text.rfind("[!ndcsignature]")) << text;
    EXPECT_NE(std::string::npos,
              nvsign("verify " + publicText + " " + Quoted(path)).find("exit code 0"));
    Configure({publicText});
    EXPECT_EQ("", MergeAgain(path));

    m_folder.Write("fetched.ndc", Replaced(ReadWholeFile(path), "DateVer=2", "DateVer=3"));
    const std::string publicFile = m_folder.Write("public.txt", publicText + "\r\n");
    const std::string refused = nvsign("verify " + Quoted(publicFile) + " " + Quoted(path));
    EXPECT_NE(std::string::npos, refused.find(kMismatch + "\r\n\nexit code 1")) << refused;
    const std::string plain = m_folder.Write("plain.ndc", "[Header]\r\n[a]\r\n");
    EXPECT_NE(std::string::npos,
              nvsign("sign " + Quoted(key) + " " + Quoted(plain)).find("exit code 1"));
    EXPECT_EQ("[Header]\r\n[a]\r\n", ReadWholeFile(plain));
}

// What the signature covers, row by row: the same content, or a different one.
TEST(NdcCanonical, CoversWhatTheReaderSeesAndNothingTheModuleWrites)
{
    const std::string base = "[Header]\nSerial=1\n[a]\nName=x\n";
    const struct {
        const char* name;
        std::string text;
        bool same;
    } rows[] = {
        {"blanks and blank lines", "\n[ Header ]\r\n  Serial = 1 \n\n[a]\nName=x", true},
        {"comments and lines before any section", "x=1\n[Header]\n;c\nSerial=1\n[a]\nName=x\n",
         true},
        {"the module's keys",
         "[Header]\nSerial=1\n[a]\nupdate=1\nName=x\nDOWNLOAD=0\nQuotaDiced=3\n", true},
        {"the signature section", "[Header]\nSerial=1\n[!ndcsignature]\nKeyId=1\n[a]\nName=x\n",
         true},
        {"a key without = before the value", "[Header]\nSerial=1\n[a]\nName\nName=x\n", false},
        {"a key renamed", "[Header]\nSerial=1\n[a]\nNamee=x\n", false},
        {"a section renamed", "[Header]\nSerial=1\n[b]\nName=x\n", false},
        {"a key moved", "[Header]\nSerial=1\nName=x\n[a]\n", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.same, nv::CanonicalNdcContent(row.text) == nv::CanonicalNdcContent(base))
            << row.name;
}

} // namespace
