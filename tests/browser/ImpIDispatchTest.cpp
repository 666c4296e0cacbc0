// window.external: the name table, the calls it hands to its handler, and
// what the client's empty object answers a page script.
#include "browser/ImpIDispatch.h"

#include "base/Scoped.h"

#include <gtest/gtest.h>

#include <list>
#include <string>

namespace {

DISPID Lookup(CImpIDispatch& external, const wchar_t* name, HRESULT* result = nullptr) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 12345;
    HRESULT hr = external.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (result) *result = hr;
    return id;
}

TEST(ImpIDispatch, TheClientsEmptyObjectKnowsNoName) {
    CImpIDispatch external;
    HRESULT result = S_OK;
    EXPECT_EQ(DISPID_UNKNOWN, Lookup(external, L"openGame", &result));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, result);
}

TEST(ImpIDispatch, LookupOfSeveralNamesFillsTheKnownAndMarksTheMissing) {
    CImpIDispatch external;
    external.SetName(7, L"login");
    external.SetName(3, L"pay");
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"pay"), const_cast<LPOLESTR>(L"missing"),
                        const_cast<LPOLESTR>(L"login"), const_cast<LPOLESTR>(L"Login")};
    DISPID ids[4] = {};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, external.GetIDsOfNames(IID_NULL, names, 4, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(3, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
    EXPECT_EQ(7, ids[2]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[3]) << "names are case-sensitive";

    LPOLESTR known[] = {names[2], names[0]};
    EXPECT_EQ(S_OK, external.GetIDsOfNames(IID_NULL, known, 2, LOCALE_USER_DEFAULT, ids));
}

TEST(ImpIDispatch, OnlyIUnknownAndIDispatchAreAnswered) {
    CImpIDispatch external;
    void* out = &external;
    EXPECT_EQ(S_OK, external.QueryInterface(IID_IDispatch, &out));
    EXPECT_EQ(static_cast<IDispatch*>(&external), out);
    EXPECT_EQ(0, external.RefCount()) << "handed out without a reference";
    EXPECT_EQ(E_FAIL, external.QueryInterface(IID_IOleObject, &out));
    EXPECT_EQ(nullptr, out);
    UINT count = 9;
    EXPECT_EQ(E_FAIL, external.GetTypeInfoCount(&count));
    EXPECT_EQ(1u, external.AddRef());
    EXPECT_EQ(0u, external.Release());
}

class ExternalCall : public ::testing::Test {
protected:
    CImpIDispatch external;
    std::list<std::wstring> received;
    DISPID receivedId = 0;
    int calls = 0;

    void SetUp() override {
        external.SetName(5, L"echo");
        external.SetHandler([this](DISPID id, const std::list<std::wstring>& args) {
            ++calls;
            receivedId = id;
            received = args;
            return std::wstring(L"answer");
        });
    }
};

TEST_F(ExternalCall, ArgumentsArriveInTheScriptsOrderAndTheResultIsText) {
    VARIANT args[3];
    // rgvarg is last first: the script called echo("first", 42, "third").
    V_VT(&args[2]) = VT_BSTR;
    V_BSTR(&args[2]) = SysAllocString(L"first");
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 42;
    V_VT(&args[0]) = VT_BSTR;
    V_BSTR(&args[0]) = SysAllocString(L"third");
    DISPPARAMS params{args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, external.Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr));
    EXPECT_EQ(5, receivedId);
    EXPECT_EQ((std::list<std::wstring>{L"first", L"42", L"third"}), received);
    ASSERT_EQ(VT_BSTR, V_VT(&result));
    EXPECT_STREQ(L"answer", V_BSTR(&result));
    VariantClear(&result);
    VariantClear(&args[2]);
    VariantClear(&args[0]);
}

TEST_F(ExternalCall, NullStringsAndObjectsAreSkipped) {
    VARIANT args[2];
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = nullptr;
    V_VT(&args[0]) = VT_DISPATCH;
    V_DISPATCH(&args[0]) = nullptr;
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_EQ(S_OK, external.Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(1, calls);
    EXPECT_TRUE(received.empty());
}

TEST_F(ExternalCall, PropertyReadsAnswerTrueWithoutACall) {
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, external.Invoke(5, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_BOOL, V_VT(&result));
    EXPECT_EQ(1, V_BOOL(&result));
    EXPECT_EQ(0, calls);
}

TEST_F(ExternalCall, UnknownIdsAndAFailingHandlerAnswerSOk) {
    DISPPARAMS none{};
    EXPECT_EQ(S_OK, external.Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, calls);

    external.SetHandler([](DISPID, const std::list<std::wstring>&) -> std::wstring { throw std::runtime_error("x"); });
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, external.Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_EMPTY, V_VT(&result));

    external.SetHandler(nullptr);
    EXPECT_EQ(S_OK, external.Invoke(5, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
