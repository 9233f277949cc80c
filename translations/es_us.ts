<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_US" sourcelanguage="en_US">
<context>
    <name>AboutInfoDialog</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>%1, %2. All rights reserved.</source>
        <translation>%1, %2. Todos los derechos reservados.</translation>
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
        <translation>%1 - Versión %2
%3

Este programa utiliza componentes de terceros, sujetos a sus propias licencias:
Qt 6 — Copyright © The Qt Company Ltd. y otros colaboradores.
    GNU Lesser General Public License version 3 (LGPL-3.0).
log4cpp — Copyright © 2000–2002 LifeLine Networks BV, Bastiaan Bakker y otros.
    GNU Lesser General Public License version 2.1 (LGPL-2.1).
CUPS (libcups) — Copyright © 2007–2019 Apple Inc., 2020–2021 Michael R Sweet.
    Apache License 2.0 con las excepciones de CUPS para software GPL2/LGPL2.
Los textos de las licencias se instalan con cada componente en /usr/share/doc;
el código fuente de los componentes está disponible en qt.io, log4cpp.sourceforge.net y
openprinting.github.io/cups.</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Logotipo de Ondrel</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogController</name>
    <message>
        <source>Deposit Account Expired</source>
        <translation>Cuenta de depósito vencida</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Saldo actual de la cuenta de depósito:</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Cuenta de crédito vencida</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Saldo actual de la cuenta de crédito:</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Información de la cuenta</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Saldo máximo de la cuenta de depósito</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Saldo máximo de la cuenta de crédito</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Saldo de la cuenta de asignación</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Saldo del depósito de la biblioteca</translation>
    </message>
    <message>
        <source>Deposit account</source>
        <translation>Cuenta de depósito</translation>
    </message>
    <message>
        <source>Credit account</source>
        <translation>Cuenta de crédito</translation>
    </message>
    <message>
        <source>Allocation</source>
        <translation>Asignación</translation>
    </message>
    <message>
        <source>Library deposit</source>
        <translation>Depósito de la biblioteca</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>AutoReleaseMsgHandler</name>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Pagado de la cuenta de asignación</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Pagado de la cuenta de crédito</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Pagado de la cuenta de depósito</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Detalles del pago:</translation>
    </message>
    <message>
        <source>Your job has been released.</source>
        <translation>Su trabajo ha sido liberado.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Familia de impresoras:</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Lugar de recogida:</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Trabajo liberado</translation>
    </message>
</context>
<context>
    <name>BcBaseDialog</name>
    <message>
        <source>Change language</source>
        <translation>Cambiar idioma</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Idiomas</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Espere, por favor...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Espere, por favor... Procesando el trabajo</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Espere, por favor... Enviando el trabajo</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Impresora</translation>
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
        <translation>Se produjo el error grave de la aplicación n.º 911.
Informe este error al soporte técnico de Brindlecore.</translation>
    </message>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>No se puede conectar con ninguna impresora. Pida ayuda a un miembro del personal.</translation>
    </message>
    <message>
        <source>Job Status Change</source>
        <translation>Cambio de estado del trabajo</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Su información de identificación indica que usted es un usuario inactivo o no válido. ¿Desea que su trabajo se envíe como trabajo de INVITADO?</translation>
    </message>
    <message>
        <source>Job Canceled</source>
        <translation>Trabajo cancelado</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>El documento se cancelará</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>La impresión de su documento se está cancelando porque alcanzó el máximo de páginas permitido por sesión.
Comuníquese con un miembro del personal para obtener más detalles.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>La impresión de su documento superará el máximo de páginas permitido por sesión.
Necesitará la aprobación de un miembro del personal para realizar esta operación.</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Contraseña obligatoria</translation>
    </message>
    <message>
        <source>The staff password was not correct. The Print Client keeps running.</source>
        <translation>La contraseña del personal no es correcta. El cliente de impresión sigue funcionando.</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Pregunta</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded.

Please download the latest Print Client.</source>
        <translation>Este cliente de impresión está desactualizado y se debe actualizar.

Descargue la versión más reciente del cliente de impresión.</translation>
    </message>
    <message>
        <source>This Print Client is out of date. You will be unable to print until it is updated.

Please contact staff for assistance.</source>
        <translation>Este cliente de impresión está desactualizado. No podrá imprimir hasta que se actualice.

Pida ayuda al personal.</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded by a staff member.

Would you like to download and run a temporary client?</source>
        <translation>Este cliente de impresión está desactualizado y un miembro del personal lo debe actualizar.

¿Desea descargar y ejecutar un cliente temporal?</translation>
    </message>
    <message>
        <source>Failed to download temporary client.

Please contact staff for assistance.</source>
        <translation>No se pudo descargar el cliente temporal.

Pida ayuda al personal.</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Impresión completada</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Se recibió su trabajo.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Número de trabajo:</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Vence:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogView</name>
    <message>
        <source>Release Terminal</source>
        <translation>Terminal de liberación</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ubicación</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Trabajo recibido</translation>
    </message>
    <message>
        <source>Pickup locations</source>
        <translation>Lugares de recogida</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Retroceso</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Mayús </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Barra espaciadora</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>Español</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Cambiar idioma</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Cerrar opciones de idioma</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Pregunta</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
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
        <translation>Acerca de Ondrel</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Detener el cliente de impresión</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Logotipo de Ondrel</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>La impresión de este trabajo no tiene costo.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Total de páginas:</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Modo dúplex:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Total de hojas:</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Hoja gratuita:</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Hojas gratuitas:</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Página gratuita:</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Páginas gratuitas:</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Precio por hoja:</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Precio por página:</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Costo total:</translation>
    </message>
    <message>
        <source>Print this job?</source>
        <translation>¿Imprimir este trabajo?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Cuentas</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Impresora</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Staff Id</source>
        <translation>ID del personal</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Motivo de la excepción</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Contraseña obligatoria</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Ingrese la siguiente información.</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Ingrese la contraseña del personal.</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>Se le debe un reembolso de %1.  El número de reembolso es %2.  Consulte al personal para obtener más ayuda.</translation>
    </message>
</context>
<context>
    <name>TpcTrayIcon</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>Identificación del usuario</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Ingrese la siguiente información.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>ID de usuario</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>PIN del usuario</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>USUARIOS INVITADOS: Cree la información solicitada arriba y recuérdela para usarla en la terminal de liberación de impresiones.</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Usuario</translation>
    </message>
</context>
</TS>
