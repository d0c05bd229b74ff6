/* Every number of the module's resources, named once. The C++ code and the
   resource compiler both read this file, so it holds nothing but plain
   #defines: no C++, no casts, no expressions. */
#ifndef QMKIT_RESOURCE_IDS_H
#define QMKIT_RESOURCE_IDS_H

/* The type library, resource 1 of type "TYPELIB". */
#define IDR_TYPELIB 1

/* The menu's script page template, type "SCRIPT". */
#define IDR_SCRIPT_PAGE 201

/* The built-in catalogues, type "FILE". The system catalogue shares its
   number with the URL dialog's template: a different resource type, so
   both may hold 232. */
#define IDR_DEFAULT_CATALOGUE 206
#define IDR_SYSTEM_CATALOGUE 232

/* Bitmaps: the check-image strip of the site lists (33 x 11, three images
   of 11) and the product picture of the about dialog. */
#define IDB_CHECK_IMAGES 204
#define IDB_PRODUCT_PICTURE 207

/* Dialog templates. */
#define IDD_ABOUT 105
#define IDD_ASK_ISBN 222
#define IDD_ASK_UPC 224
#define IDD_ASK_OTHER 226
#define IDD_ASK_TRANSLATE 227
#define IDD_ASK_EMAIL 228
#define IDD_ASK_CURRENCY 229
#define IDD_ASK_STOCK 230
#define IDD_ASK_CONVERT 231
#define IDD_ASK_URL 232

/* Controls. IDOK (1) and IDCANCEL (2) are the platform's own. */
#define IDC_HELP_BUTTON 9
#define IDC_CUSTOMIZATION 10
#define IDC_HOME_PAGE 215
#define IDC_PRODUCT_PICTURE 216
#define IDC_PRODUCT_TEXT 217
#define IDC_FEEDBACK_TEXT 218
#define IDC_SITE_LIST 219
#define IDC_STATUS_LINE 208
#define IDC_TEXT 220
#define IDC_TEXT_GROUP 202
#define IDC_PROMPT 223
#define IDC_FROM_CURRENCY 203
#define IDC_TO_CURRENCY 204
#define IDC_UNIT_CATEGORY 206
#define IDC_UNIT_AMOUNT 220
#define IDC_CALCULATE 207
#define IDC_RESULT 208
#define IDC_FROM_UNIT 209
#define IDC_TO_UNIT 210

/* Strings: menu texts and status-bar texts of the fourteen commands. */
#define IDS_PRODUCT_NAME 100
#define IDS_MENU_CONFIG 101
#define IDS_STATUS_CONFIG 102
#define IDS_MENU_ISBN 103
#define IDS_STATUS_ISBN 104
#define IDS_MENU_BOOK 105
#define IDS_STATUS_BOOK 106
#define IDS_MENU_UPC 107
#define IDS_STATUS_UPC 108
#define IDS_MENU_MOVIE 109
#define IDS_STATUS_MOVIE 110
#define IDS_MENU_TRANSLATE 111
#define IDS_STATUS_TRANSLATE 112
#define IDS_MENU_CURRENCY 113
#define IDS_STATUS_CURRENCY 114
#define IDS_MENU_OTHER 115
#define IDS_STATUS_OTHER 116
#define IDS_MENU_EMAIL 117
#define IDS_STATUS_EMAIL 118
#define IDS_MENU_URL 119
#define IDS_STATUS_URL 120
#define IDS_MENU_MUSIC 121
#define IDS_STATUS_MUSIC 122
#define IDS_MENU_STOCK 126
#define IDS_STATUS_STOCK 127
#define IDS_MENU_CONVERT 140
#define IDS_STATUS_CONVERT 141
#define IDS_MENU_SEARCH 165
#define IDS_STATUS_SEARCH 166

/* Strings: the site list, the shared flow's captions and prompts. */
#define IDS_LIST_COLUMN 125
#define IDS_OTHER_PROMPT 131
#define IDS_OTHER_CAPTION 132
#define IDS_SEARCH_CAPTION 133
#define IDS_SITES_OR_ACTIONS_PROMPT 134
#define IDS_BOOK_CAPTION 137
#define IDS_MUSIC_CAPTION 138
#define IDS_MOVIE_CAPTION 139

/* Strings: messages. */
#define IDS_NO_SITE_CHOSEN 128
#define IDS_INVALID_ISBN 129
#define IDS_INVALID_UPC 130
#define IDS_TRANSLATE_NOT_INTERNET 135
#define IDS_NO_MAIL_PROGRAM 136
#define IDS_CURRENCY_AMOUNT_NOT_NUMBER 142
#define IDS_STOCK_SYMBOL_REQUIRED 143
#define IDS_AMOUNT_NOT_NUMBER 144
#define IDS_DIVISION_BY_ZERO 145
#define IDS_CANNOT_CALCULATE 146
#define IDS_ADDRESS_TOO_LONG 147
#define IDS_COMMAND_LINE_TOO_LONG 148
#define IDS_MAIL_FIELD_TOO_LONG 149
#define IDS_SELECTIONS_NOT_REMEMBERED 150

/* Strings: texts the dialogs show, for every view of them. */
#define IDS_ISBN_CAPTION 300
#define IDS_UPC_CAPTION 301
#define IDS_STOCK_CAPTION 302
#define IDS_SITES_PROMPT 303
#define IDS_STOCK_PROMPT 304
#define IDS_EMAIL_PROMPT 305
#define IDS_TRANSLATE_PROMPT 306
#define IDS_URL_PROMPT 307
#define IDS_CURRENCY_PROMPT 308
#define IDS_OTHER_TEMPLATE_CAPTION 309
#define IDS_OTHER_TEMPLATE_PROMPT 310
#define IDS_CURRENCY_CONVERT 311
#define IDS_CURRENCY_EXAMPLE 312
#define IDS_FROM 313
#define IDS_TO 314
#define IDS_UNITS_CONVERT_THE 315
#define IDS_UNITS_CALCULATE 316
#define IDS_UNITS_WARRANTY 317
#define IDS_ABOUT_PRODUCT 318
#define IDS_ABOUT_FEEDBACK 319
#define IDS_ABOUT_GO_TO_URL 320
#define IDS_ABOUT_HOME_PAGE 321
#define IDS_ABOUT_CUSTOMIZATION 322
#define IDS_BUTTON_OK 323
#define IDS_BUTTON_OK_ACCEL 324
#define IDS_BUTTON_CANCEL 325
#define IDS_BUTTON_HELP 326
#define IDS_BUTTON_YES 327
#define IDS_BUTTON_NO 328

/* Help topic pages of qmkit.chm, one per place that offers help. */
#define HELP_TOPIC_INDEX "HelpIndex.htm"
#define HELP_TOPIC_CUSTOMIZE "HelpCustomize.htm"
#define HELP_TOPIC_BOOK "HelpBook.htm"
#define HELP_TOPIC_MOVIE "HelpMovie.htm"
#define HELP_TOPIC_MUSIC "HelpMusic.htm"
#define HELP_TOPIC_OTHER "HelpOther.htm"
#define HELP_TOPIC_SEARCH "HelpSearch.htm"
#define HELP_TOPIC_UNITS "HelpUnits.htm"
#define HELP_TOPIC_CURRENCY "HelpCurrency.htm"
#define HELP_TOPIC_EMAIL "HelpEmail.htm"
#define HELP_TOPIC_ISBN "HelpISBN.htm"
#define HELP_TOPIC_STOCK "HelpStock.htm"
#define HELP_TOPIC_TRANSLATE "HelpTranslate.htm"
#define HELP_TOPIC_UPC "HelpUPC.htm"
#define HELP_TOPIC_URL "HelpURL.htm"

#endif
