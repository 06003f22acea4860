// The gateway's product key under HKEY_LOCAL_MACHINE, and that of older
// installations.
#ifndef LXPREVIEW_PRODUCT_KEYS_H
#define LXPREVIEW_PRODUCT_KEYS_H

constexpr char kProductKey[] = "Software\\Brenlow\\Corvane";
constexpr char kOlderProductKey[] = "Software\\Ostrand\\Corvane";

#endif  // LXPREVIEW_PRODUCT_KEYS_H
