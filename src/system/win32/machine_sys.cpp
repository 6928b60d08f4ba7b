// Machine properties through COM and WMI: one query in ROOT\CIMV2 per call.
#include "system/machine_sys.h"

#include <windows.h>
#include <objbase.h>
#include <wbemidl.h>

namespace zyn::system::sys {

namespace {

// A value as a truth value: a boolean as it is, numbers non-zero, texts such
// as "true". (oleaut32's conversion: propsys's VariantToBoolean is missing
// from some systems' implementations, Wine's among them.)
bool truth_of(const VARIANT& value)
{
    VARIANT converted;
    VariantInit(&converted);
    const bool truth = SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BOOL)) &&
                       V_VT(&converted) == VT_BOOL && V_BOOL(&converted) != VARIANT_FALSE;
    VariantClear(&converted);
    return truth;
}

// Appends one object's property by the value kind; a failed lookup adds nothing.
void append_property(IWbemClassObject* object, const zyn_wstring& property, int kind, zyn_wstring& gathered)
{
    VARIANT value;
    VariantInit(&value); // empty before the lookup, so clearing it is always safe
    if (SUCCEEDED(object->Get(property.c_str(), 0, &value, nullptr, nullptr))) {
        if (kind == ZYN_PROPERTY_BOOLEAN) {
            gathered += truth_of(value) ? L"true" : L"false";
        } else if (kind == ZYN_PROPERTY_TEXT && V_VT(&value) == VT_BSTR && V_BSTR(&value) != nullptr) {
            gathered += V_BSTR(&value); // only a string is read as one
        }
    }
    VariantClear(&value);
}

} // namespace

int32_t query_machine_property(const zyn_wstring& class_name, const zyn_wstring& property, int kind,
                               zyn_wstring& gathered)
{
    const zyn_wstring query = L"SELECT * FROM " + class_name;

    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return hr;

    IWbemLocator* locator = nullptr;
    hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(&locator));
    if (FAILED(hr)) {
        CoUninitialize();
        return hr;
    }

    IWbemServices* services = nullptr;
    BSTR space = SysAllocString(L"ROOT\\CIMV2");
    hr = locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
    SysFreeString(space);
    if (FAILED(hr)) {
        locator->Release();
        CoUninitialize();
        return hr;
    }

    IEnumWbemClassObject* objects = nullptr;
    hr = CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (SUCCEEDED(hr)) {
        BSTR language = SysAllocString(L"WQL");
        BSTR text = SysAllocString(query.c_str());
        hr = services->ExecQuery(language, text, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 &objects);
        SysFreeString(text);
        SysFreeString(language);
    }
    if (FAILED(hr)) {
        services->Release();
        locator->Release();
        CoUninitialize();
        return hr;
    }

    // A query that returns at once reports its failures (an unknown class, say)
    // through the enumerator: a failing step ends the walk and fails the call,
    // rather than passing off a partial or empty text as the answer.
    HRESULT walked = S_OK;
    for (;;) {
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        walked = objects->Next(WBEM_INFINITE, 1, &object, &returned);
        if (returned == 0 || object == nullptr) {
            if (object != nullptr)
                object->Release();
            break;
        }
        append_property(object, property, kind, gathered);
        object->Release();
    }

    services->Release();
    locator->Release();
    objects->Release();
    CoUninitialize();
    return FAILED(walked) ? walked : 0;
}

} // namespace zyn::system::sys
