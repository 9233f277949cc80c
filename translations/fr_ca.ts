<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_CA" sourcelanguage="en_US">
<context>
    <name>AboutInfoDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1, %2. All rights reserved.</source>
        <translation>%1, %2. Tous droits réservés.</translation>
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

Ce programme utilise des composants de tiers, régis par leurs propres licences&#xa0;:
Qt 6 — Copyright © The Qt Company Ltd. et autres contributeurs.
    GNU Lesser General Public License version 3 (LGPL-3.0).
log4cpp — Copyright © 2000–2002 LifeLine Networks BV, Bastiaan Bakker et autres.
    GNU Lesser General Public License version 2.1 (LGPL-2.1).
CUPS (libcups) — Copyright © 2007–2019 Apple Inc., 2020–2021 Michael R Sweet.
    Apache License 2.0, avec les exceptions CUPS pour les logiciels GPL2/LGPL2.
Les textes des licences sont installés avec chaque composant sous /usr/share/doc;
le code source des composants est offert sur qt.io, log4cpp.sourceforge.net et
openprinting.github.io/cups.</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Logo d&apos;Ondrel</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogController</name>
    <message>
        <source>Deposit Account Expired</source>
        <translation>Compte de dépôt expiré</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Solde actuel du compte de dépôt :</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Compte de crédit expiré</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Solde actuel du compte de crédit :</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Renseignements sur le compte</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Solde maximal du compte de dépôt</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Solde maximal du compte de crédit</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Solde du compte d&apos;allocation</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Solde du dépôt de la bibliothèque</translation>
    </message>
    <message>
        <source>Deposit account</source>
        <translation>Compte de dépôt</translation>
    </message>
    <message>
        <source>Credit account</source>
        <translation>Compte de crédit</translation>
    </message>
    <message>
        <source>Allocation</source>
        <translation>Allocation</translation>
    </message>
    <message>
        <source>Library deposit</source>
        <translation>Dépôt de la bibliothèque</translation>
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
        <translation>Payé par le compte d&apos;allocation</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Payé par le compte de crédit</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Payé par le compte de dépôt</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Détails du paiement :</translation>
    </message>
    <message>
        <source>Your job has been released.</source>
        <translation>Votre travail a été libéré.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Famille d&apos;imprimantes :</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Lieu de récupération :</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Travail libéré</translation>
    </message>
</context>
<context>
    <name>BcBaseDialog</name>
    <message>
        <source>Change language</source>
        <translation>Changer de langue</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Langues</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Veuillez patienter... Traitement du travail</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Veuillez patienter... Envoi du travail</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Imprimante</translation>
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
        <translation>Erreur fatale de l’application nº 911.
Veuillez signaler cette erreur au soutien technique de Brindlecore.</translation>
    </message>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>Impossible de se connecter à une imprimante. Veuillez demander de l’aide à un membre du personnel.</translation>
    </message>
    <message>
        <source>Job Status Change</source>
        <translation>Changement d&apos;état du travail</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Vos renseignements d&apos;identification indiquent que vous êtes un utilisateur inactif ou non valide. Voulez-vous que votre travail soit envoyé comme travail d&apos;INVITÉ?</translation>
    </message>
    <message>
        <source>Job Canceled</source>
        <translation>Travail annulé</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>Le document sera annulé</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>L&apos;impression de votre document est annulée, car vous avez atteint le nombre maximal de pages permis par session.
Veuillez vous adresser à un membre du personnel pour en savoir plus.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>L&apos;impression de votre document vous fera dépasser le nombre maximal de pages permis par session.
Vous aurez besoin de l&apos;approbation d&apos;un membre du personnel pour effectuer cette opération.</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Mot de passe requis</translation>
    </message>
    <message>
        <source>The staff password was not correct. The Print Client keeps running.</source>
        <translation>Le mot de passe du personnel est incorrect. Le client d&apos;impression continue de fonctionner.</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded.

Please download the latest Print Client.</source>
        <translation>Ce client d&apos;impression est périmé et doit être mis à niveau.

Veuillez télécharger la dernière version du client d&apos;impression.</translation>
    </message>
    <message>
        <source>This Print Client is out of date. You will be unable to print until it is updated.

Please contact staff for assistance.</source>
        <translation>Ce client d&apos;impression est périmé. Vous ne pourrez pas imprimer tant qu&apos;il n&apos;aura pas été mis à jour.

Veuillez vous adresser au personnel pour obtenir de l&apos;aide.</translation>
    </message>
    <message>
        <source>This Print Client is out of date and needs to be upgraded by a staff member.

Would you like to download and run a temporary client?</source>
        <translation>Ce client d&apos;impression est périmé et doit être mis à niveau par un membre du personnel.

Voulez-vous télécharger et exécuter un client temporaire?</translation>
    </message>
    <message>
        <source>Failed to download temporary client.

Please contact staff for assistance.</source>
        <translation>Impossible de télécharger le client temporaire.

Veuillez vous adresser au personnel pour obtenir de l&apos;aide.</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Impression terminée</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Votre travail a été reçu.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Numéro du travail :</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Expiration :</translation>
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
        <translation>Borne de libération</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Travail reçu</translation>
    </message>
    <message>
        <source>Pickup locations</source>
        <translation>Lieux de récupération</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Retour arrière</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Maj </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Barre d&apos;espacement</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Changer de langue</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Fermer les options de langue</translation>
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
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
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
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
</context>
<context>
    <name>OpcMainWindow</name>
    <message>
        <source>About Ondrel</source>
        <translation>À propos d&apos;Ondrel</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Arrêter le client d&apos;impression</translation>
    </message>
    <message>
        <source>Ondrel logo</source>
        <translation>Logo d&apos;Ondrel</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>L&apos;impression de ce travail est gratuite.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Nombre total de pages :</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Mode recto verso :</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Nombre total de feuilles :</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Feuille gratuite :</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Feuilles gratuites :</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Page gratuite :</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Pages gratuites :</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Prix par feuille :</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Prix par page :</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Coût total :</translation>
    </message>
    <message>
        <source>Print this job?</source>
        <translation>Imprimer ce travail?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Comptes</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Imprimante</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Staff Id</source>
        <translation>Identifiant du personnel</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Motif de la dérogation</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Mot de passe requis</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Veuillez entrer les renseignements suivants.</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Veuillez entrer le mot de passe du personnel.</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>Un remboursement de %1 vous est dû.  Le numéro de remboursement est %2.  Veuillez vous adresser au personnel pour obtenir de l&apos;aide.</translation>
    </message>
</context>
<context>
    <name>TpcTrayIcon</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>Identification de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Veuillez entrer les renseignements suivants.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>Identifiant d&apos;utilisateur</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>NIP de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>UTILISATEURS INVITÉS : Veuillez créer les renseignements demandés ci-dessus et les retenir pour les utiliser à la borne de libération des impressions.</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Utilisateur</translation>
    </message>
</context>
</TS>
