// The exported model-table lookups and result texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vkcfg.h"

TEST(ModelTable, LookupsByCodeAndName) {
    EXPECT_STREQ(vk_get_device_type(0x94), "VLC621");
    EXPECT_STREQ(vk_get_device_type(0x35), "Unknown");
    EXPECT_STREQ(vk_get_device_type(0), "Unknown");
    EXPECT_STREQ(vk_get_device_type(0x101), "VKA100");  // only the low byte counts
    EXPECT_EQ(vk_get_device_code("VKB304"), 0x34);
    EXPECT_EQ(vk_get_device_code("vkb304"), 0);
    EXPECT_EQ(vk_get_device_code(""), 0);
    EXPECT_EQ(vk_get_device_code(nullptr), 0);
    EXPECT_EQ(vk_get_device_uart_number(0x92), 3);
    EXPECT_EQ(vk_get_device_com_number(0x92), 2);
    EXPECT_EQ(vk_get_device_uart_number(0x38), 8);
    EXPECT_EQ(vk_get_device_com_number(0x91), 0);
    EXPECT_EQ(vk_get_device_uart_number(0x83), 0);
    EXPECT_EQ(vk_get_device_com_number(0x35), 0);
}

TEST(ModelTable, EveryNamedModelRoundTrips) {
    for (const char* name : {"VKA100", "VKB200", "VKB220", "VKB301", "VKB302", "VKB303", "VKB304", "VKB308",
                             "VLC601", "VLC602", "VLC611", "VLC621"}) {
        EXPECT_STREQ(vk_get_device_type(vk_get_device_code(name)), name);
    }
}

TEST(ResultTexts, AreGbkBytesAndUnknownCodesShareOneText) {
    // GBK bytes of the texts (the library returns them as they are stored).
    EXPECT_STREQ(vk_get_error_string(VK_OK),
                 "\xba\xaf\xca\xfd\xb2\xd9\xd7\xf7\xb3\xc9\xb9\xa6\xa3\xac\xd5\xfd\xc8\xb7\xb7\xb5\xbb\xd8");
    EXPECT_STREQ(vk_get_error_string(VK_ERR_PASSWORD), "\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3");
    EXPECT_STREQ(vk_get_error_string(VK_ERR_ARGUMENT), "\xc8\xeb\xbf\xda\xb2\xce\xca\xfd\xb4\xed\xce\xf3");
    const std::string unknown = "\xce\xb4\xd6\xaa\xb4\xed\xce\xf3";
    for (int code : {0, 7, -7, 16, 1000, -2147483647 - 1, 2147483647}) {
        EXPECT_EQ(vk_get_error_string(code), unknown) << code;
    }
    // Every defined code has a text of its own.
    for (int a = -6; a <= 1; ++a) {
        if (a == 0) continue;
        for (int b = a + 1; b <= 1; ++b) {
            if (b == 0) continue;
            EXPECT_STRNE(vk_get_error_string(a), vk_get_error_string(b)) << a << " " << b;
        }
        EXPECT_NE(vk_get_error_string(a), unknown);
    }
}
