#pragma once

#include <string_view>

// Every caption and message of the windows, shared by all window systems.
namespace vellumark::window_text {

inline constexpr std::string_view kMainCaption = "JPEG文件格式分析工具";
inline constexpr std::string_view kThumbCaption = "JPEG缩略图";

// Menus. '&' marks the access key; the text after the tab in the Quit caption
// is a reminder of the window system's own close key, not a shortcut.
inline constexpr std::string_view kMenuFile = "文件(&F)";
inline constexpr std::string_view kMenuOpen = "打开(&O)...";
inline constexpr std::string_view kMenuSave = "保存(&S)...";
inline constexpr std::string_view kMenuQuit = "退出(&Q)\tAlt+F4";
inline constexpr std::string_view kMenuView = "察看(&V)";
inline constexpr std::string_view kMenuShowAcHuffman = "AC的Huffman表";
inline constexpr std::string_view kMenuThumb = "缩略图(&T)";
inline constexpr std::string_view kMenuRefresh = "刷新(&R)";
inline constexpr std::string_view kMenuHelp = "帮助(&H)";
inline constexpr std::string_view kMenuAbout = "关于(&A)";

// File dialog filters: label, '|', patterns separated by ';'.
inline constexpr std::string_view kOpenFilter = "JPEG文件(*.jpg;*.jpeg)|*.jpg;*.jpeg";
inline constexpr std::string_view kSaveFilter = "文本文件(*.txt)|*.txt";

// About box. The colons are full-width.
inline constexpr std::string_view kAboutTitle = "关于";
inline constexpr std::string_view kAboutProduct = "产品：";
inline constexpr std::string_view kAboutVersion = "版本：";
inline constexpr std::string_view kAboutAuthor = "作者：";
inline constexpr std::string_view kAboutCopyright = "版权：";
inline constexpr std::string_view kAboutDescription = "说明：";

inline constexpr std::string_view kNoThumbnail = "这不是JPEG文件 或 缩略图不存在！";

}  // namespace vellumark::window_text
