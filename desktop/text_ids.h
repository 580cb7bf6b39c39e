// The numbers of the desktop program's resource texts. They are the contract
// with the language modules, which hold the same numbers translated
// (desktop/forms/lang/*.txt).
#pragma once

constexpr int WaitForPhoneTextId = 65280;
constexpr int OverwriteDataTextId = 65281;
constexpr int RotatingTextId = 65282;
constexpr int ConvertingTextId = 65283;
constexpr int PressOpenButtonTextId = 65284;  // holds %s
constexpr int PinNeedsPhoneTextId = 65285;
constexpr int UnsupportedWindowsTextId = 65296;  // holds %s
constexpr int FirstReadStepTextId = 65297;       // 65297 .. 65302, see utils.cpp
constexpr int FirstWriteStepTextId = 65303;      // 65303 .. 65308
constexpr int DeleteEntryTextId = 65309;         // holds %s
constexpr int DeletePictureTextId = 65310;
constexpr int DeleteUsedPictureTextId = 65311;
constexpr int CannotOpenUsbTextId = 65327;

// Standard texts of the message dialogs.
constexpr int ErrorCaptionTextId = 65328;
constexpr int ConfirmCaptionTextId = 65329;
constexpr int OkButtonTextId = 65330;
constexpr int YesButtonTextId = 65331;
constexpr int NoButtonTextId = 65332;
// Standard texts of the picture-open dialog: the names of the picture kinds.
constexpr int AllPicturesTextId = 65333;
constexpr int BitmapsTextId = 65334;
constexpr int JpegTextId = 65335;
constexpr int IconsTextId = 65336;
constexpr int EnhancedMetafilesTextId = 65337;
constexpr int MetafilesTextId = 65338;
