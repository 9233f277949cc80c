<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>AboutInfoDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1, %2. All rights reserved.</source>
        <translation>%1, %2. All rights reserved.</translation>
    </message>
    <message>
        <source>%1 - Version %2
%3

This program uses components from other makers, under their own licences:
Qt 6 — Copyright © The Qt Company Ltd. and other contributors.
    GNU Lesser General Public License version 3 (LGPL-3.0).
log4cpp — Copyright © 2000–2002 LifeLine Networks BV, Bastiaan Bakker and others.
    GNU Lesser General Public License version 2.1 (LGPL-2.1).
CUPS (libcups) — Copyright © 2007–2019 Apple Inc., 2020–2021 Michael R Sweet.
    Apache License 2.0 with the CUPS exceptions for GPL2/LGPL2 software.
The licence texts are installed under /usr/share/doc with each component;
their source code is available from qt.io, log4cpp.sourceforge.net and
openprinting.github.io/cups.</source>
        <translation>%1 - Version %2
%3

This program uses components from other makers, under their own licences:
Qt 6 — Copyright © The Qt Company Ltd. and other contributors.
    GNU Lesser General Public License version 3 (LGPL-3.0).
log4cpp — Copyright © 2000–2002 LifeLine Networks BV, Bastiaan Bakker and others.
    GNU Lesser General Public License version 2.1 (LGPL-2.1).
CUPS (libcups) — Copyright © 2007–2019 Apple Inc., 2020–2021 Michael R Sweet.
    Apache License 2.0 with the CUPS exceptions for GPL2/LGPL2 software.
The licence texts are installed under /usr/share/doc with each component;
their source code is available from qt.io, log4cpp.sourceforge.net and
openprinting.github.io/cups.</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Ondrel logo</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogController</name>
    <message>
        <source>Deposit Account Expired</source>
        <translation>Deposit Account Expired</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Current Deposit Balance:</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Credit Account Expired</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Current Credit Balance:</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Account Information</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Max Deposit Balance</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Max Credit Balance</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Allocation Balance</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Library Deposit Balance</translation>
    </message>
    <message>
        <source>Deposit account</source>
        <translation>Deposit account</translation>
    </message>
    <message>
        <source>Credit account</source>
        <translation>Credit account</translation>
    </message>
    <message>
        <source>Allocation</source>
        <translation>Allocation</translation>
    </message>
    <message>
        <source>Library deposit</source>
        <translation>Library deposit</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>AutoReleaseMsgHandler</name>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Paid From Allocation Account</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Paid From Credit Account</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Paid From Deposit Account</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Payment Details:</translation>
    </message>
    <message>
        <source>Your job has been released.</source>
        <translation>Your job has been released.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Printer Family:</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Pickup Location:</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Job Released</translation>
    </message>
</context>
<context>
    <name>BcBaseDialog</name>
    <message>
        <source>Change language</source>
        <translation>Change language</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Languages</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Please Wait...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Please Wait... Processing Job</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Please Wait... Submitting Job</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Printer</translation>
    </message>
</context>
<context>
    <name>CommonDialogMessages</name>
    <message>
        <source>Brindlecore® Ondrel™ Print Client</source>
        <translation>Brindlecore® Ondrel™ Print Client</translation>
    </message>
    <message>
        <source>Fatal Application Error #911 Generated.
Please report this error to Brindlecore Technical Support.</source>
        <translation>Fatal Application Error #911 Generated.
Please report this error to Brindlecore Technical Support.</translation>
    </message>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>Unable to connect to any printers.  Please see a staff member for assistance.</translation>
    </message>
    <message>
        <source>Job Status Change</source>
        <translation>Job Status Change</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</translation>
    </message>
    <message>
        <source>Job Canceled</source>
        <translation>Job Canceled</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>The document will be canceled</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Password Required</translation>
    </message>
    <message>
        <source>The staff password was not correct. The Print Client keeps running.</source>
        <translation>The staff password was not correct. The Print Client keeps running.</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded.

Please download the latest Print Client.</source>
        <translation>This Print Client is out of date and needs to be upgraded.

Please download the latest Print Client.</translation>
    </message>
    <message>
        <source>This Print Client is out of date. You will be unable to print until it is updated.

Please contact staff for assistance.</source>
        <translation>This Print Client is out of date. You will be unable to print until it is updated.

Please contact staff for assistance.</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded by a staff member.

Would you like to download and run a temporary client?</source>
        <translation>This Print Client is out of date and needs to be upgraded by a staff member.

Would you like to download and run a temporary client?</translation>
    </message>
    <message>
        <source>Failed to download temporary client.

Please contact staff for assistance.</source>
        <translation>Failed to download temporary client.

Please contact staff for assistance.</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Print Complete</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Your job has been received.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Job Number:</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Expire Time:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogView</name>
    <message>
        <source>Release Terminal</source>
        <translation>Release Terminal</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Job received</translation>
    </message>
    <message>
        <source>Pickup locations</source>
        <translation>Pickup locations</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Next Field</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Shift </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Space Bar</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Change Language</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Close Language Options</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>OpcMainWindow</name>
    <message>
        <source>About Ondrel</source>
        <translation>About Ondrel</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Stop Print Client</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Ondrel logo</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>There is no charge to print this job.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Total Pages:</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Duplex Mode:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Total Sheets:</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Free Sheet:</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Free Sheets:</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Free Page:</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Free Pages:</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Price Per Sheet:</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Price Per Page:</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Total Cost:</translation>
    </message>
    <message>
        <source>Print this job?</source>
        <translation>Print this job?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Accounts</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Printer</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Staff Id</source>
        <translation>Staff Id</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Reason for Override</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Password Required</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Please enter the following information.</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Please enter the staff password.</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</translation>
    </message>
</context>
<context>
    <name>TpcTrayIcon</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>User Identification</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Please enter the following information.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>User PIN</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
</context>
</TS>
