<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>main</name>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>Quillora Tovak! ran out of memory and has to close. Your recordings are kept.</source>
        <translation>Quillora Tovak! manque de mémoire et doit se fermer. Vos enregistrements sont conservés.</translation>
    </message>
    <message>
        <source>Quillora Tovak! has to close: %s</source>
        <translation>Quillora Tovak! doit se fermer : %s</translation>
    </message>
</context>
<context>
    <name>tovak::EditorSession</name>
    <message>
        <source>%s kB</source>
        <translation>%s ko</translation>
    </message>
    <message>
        <source>The message could not be saved.</source>
        <translation>Le texte n&apos;a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>This will stop the recording.  Do you want to stop?</source>
        <translation>Cela va arrêter l&apos;enregistrement. Voulez-vous l&apos;arrêter&#xa0;?</translation>
    </message>
    <message>
        <source>The following files were not supported or invalid.  They&apos;ve been skipped.<byte value="xd"/>%s</source>
        <translation>Les fichiers suivants ne sont pas pris en charge ou sont endommagés. Ils ont été ignorés.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Remove &quot;%s&quot; from the talking slideshow?<byte value="xd"/>Its recorded voice and message are deleted with it.</source>
        <translation>Retirer «&#xa0;%s&#xa0;» du diaporama parlant&#xa0;?<byte value="xd"/>Sa voix enregistrée et son message seront supprimés avec elle.</translation>
    </message>
    <message>
        <source>Remove these %s pictures from the talking slideshow?<byte value="xd"/>%sTheir recorded voices and messages are deleted with them.</source>
        <translation>Retirer ces %s images du diaporama parlant&#xa0;?<byte value="xd"/>%sLeurs voix enregistrées et leurs messages seront supprimés avec elles.</translation>
    </message>
    <message>
        <source>Remove the sound from selected image(s)?</source>
        <translation>Effacer l&apos;enregistrement des images sélectionnées&#xa0;?</translation>
    </message>
    <message>
        <source>This file already has a sound file attached to it.<byte value="xd"/>Do you want to continue?</source>
        <translation>Cette image a déjà un enregistrement.<byte value="xd"/>Voulez-vous continuer&#xa0;?</translation>
    </message>
    <message>
        <source>The microphone &quot;%s&quot; is not there any more. The system&apos;s default microphone is used instead.</source>
        <translation>Le micro «&#xa0;%s&#xa0;» n&apos;est plus disponible. Le micro par défaut du système est utilisé à la place.</translation>
    </message>
    <message>
        <source>You must select files first!</source>
        <translation>Choisissez d&apos;abord des images&#xa0;!</translation>
    </message>
    <message>
        <source>No sound was recorded. Check that your microphone is connected and not muted.</source>
        <translation>Aucun son n&apos;a été enregistré. Vérifiez que le micro est branché et qu&apos;il n&apos;est pas coupé.</translation>
    </message>
    <message>
        <source>Keep the recording anyway?</source>
        <translation>Garder quand même l&apos;enregistrement&#xa0;?</translation>
    </message>
    <message>
        <source>The recording could not be saved.</source>
        <translation>L&apos;enregistrement n&apos;a pas pu être sauvegardé.</translation>
    </message>
    <message>
        <source>microphone lost, %s s saved</source>
        <translation>micro débranché, %s s enregistrées</translation>
    </message>
    <message>
        <source>sound output lost</source>
        <translation>sortie audio perdue</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>Le diaporama n&apos;a pas pu être mis de côté pour une reprise après un plantage (%s).</translation>
    </message>
    <message>
        <source>Lis&amp;ten</source>
        <translation>Éc&amp;outer</translation>
    </message>
    <message>
        <source>Status: %s</source>
        <translation>État&#xa0;: %s</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Micro par défaut</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>prêt</translation>
    </message>
    <message>
        <source>recording...</source>
        <translation>enregistrement...</translation>
    </message>
    <message>
        <source>listening...</source>
        <translation>écoute...</translation>
    </message>
    <message>
        <source>Stop listening before recording.</source>
        <translation>Arrêtez l&apos;écoute avant d&apos;enregistrer.</translation>
    </message>
    <message>
        <source>The last recording is not saved yet.</source>
        <translation>Le dernier enregistrement n&apos;est pas encore sauvegardé.</translation>
    </message>
    <message>
        <source>Stop recording before listening.</source>
        <translation>Arrêtez l&apos;enregistrement avant d&apos;écouter.</translation>
    </message>
    <message>
        <source>A recording is still playing.</source>
        <translation>Un enregistrement est encore en cours de lecture.</translation>
    </message>
    <message>
        <source>A playback is still running</source>
        <translation>La lecture est encore en cours</translation>
    </message>
    <message>
        <source>Could not open Recording Device</source>
        <translation>Impossible d&apos;ouvrir le micro</translation>
    </message>
    <message>
        <source>Could not open the sound output</source>
        <translation>Impossible d&apos;ouvrir la sortie audio</translation>
    </message>
    <message>
        <source>Could not prepare header</source>
        <translation>Impossible de préparer la lecture</translation>
    </message>
    <message>
        <source>The device number is out of range.</source>
        <translation>Ce périphérique audio n&apos;existe pas.</translation>
    </message>
    <message>
        <source>The sound device could not be started.</source>
        <translation>Le périphérique audio n&apos;a pas pu démarrer.</translation>
    </message>
    <message>
        <source>The sound device is already in use.</source>
        <translation>Le périphérique audio est déjà utilisé.</translation>
    </message>
    <message>
        <source>The sound device is not open.</source>
        <translation>Le périphérique audio n&apos;est pas ouvert.</translation>
    </message>
    <message>
        <source>There is no sound device.</source>
        <translation>Aucun périphérique audio n&apos;est disponible.</translation>
    </message>
    <message>
        <source>There is not enough memory for the sound device.</source>
        <translation>Il n&apos;y a pas assez de mémoire pour le périphérique audio.</translation>
    </message>
    <message>
        <source>The sound device cannot handle this sound format.</source>
        <translation>Le périphérique audio ne prend pas en charge ce format de son.</translation>
    </message>
    <message>
        <source>Buffers are still queued on the sound device.</source>
        <translation>Le périphérique audio est encore occupé.</translation>
    </message>
    <message>
        <source>A buffer was not prepared.</source>
        <translation>Une mémoire tampon audio n&apos;était pas prête.</translation>
    </message>
    <message>
        <source>The sound device stopped with an error.</source>
        <translation>Le périphérique audio s&apos;est arrêté à cause d&apos;une erreur.</translation>
    </message>
    <message>
        <source>This removes all pictures with their messages and recordings from the slideshow. Are you sure?</source>
        <translation>Toutes les images seront retirées du diaporama, avec leurs messages et leurs enregistrements. Êtes-vous sûr ?</translation>
    </message>
    <message>
        <source>No recording device was found. Please connect a microphone. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>Aucun périphérique d&apos;enregistrement n&apos;a été trouvé. Veuillez brancher un microphone. Si le système audio a démarré après Quillora Tovak!, fermez Quillora Tovak! et relancez-le.</translation>
    </message>
    <message>
        <source>No sound output was found. Please connect speakers or headphones. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>Aucune sortie audio n&apos;a été trouvée. Veuillez brancher des haut-parleurs ou un casque. Si le système audio a démarré après Quillora Tovak!, fermez Quillora Tovak! et relancez-le.</translation>
    </message>
    <message>
        <source>Stop Lis&amp;tening</source>
        <translation>Arrêter l&apos;éc&amp;oute</translation>
    </message>
</context>
<context>
    <name>tovak::EndScreen</name>
    <message>
        <source>End of the show</source>
        <translation>Fin du diaporama</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Rejouer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>tovak::FileListModel</name>
    <message>
        <source>Voice recorded</source>
        <translation>Voix enregistrée</translation>
    </message>
    <message>
        <source>No voice</source>
        <translation>Pas de voix</translation>
    </message>
</context>
<context>
    <name>tovak::MainScreenSession</name>
    <message>
        <source>Discard the slideshow you are working on, with its messages and recordings, and open &quot;%s&quot; instead?</source>
        <translation>Abandonner le diaporama en cours, avec ses messages et ses enregistrements, et ouvrir &quot;%s&quot; à la place&#xa0;?</translation>
    </message>
    <message>
        <source>&quot;%s&quot; cannot be opened as a talking slideshow.<byte value="xd"/>%s</source>
        <translation>&quot;%s&quot; ne peut pas être ouvert comme diaporama parlant.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>Le diaporama n&apos;a pas pu être mis de côté pour une reprise après un plantage (%s).</translation>
    </message>
    <message>
        <source>Restore the slideshow you were working on?</source>
        <translation>Reprendre le diaporama sur lequel vous travailliez&#xa0;?</translation>
    </message>
    <message>
        <source>Quillora Tovak! has successfully created a talking slideshow!</source>
        <translation>Quillora Tovak! a bien créé votre diaporama parlant&#xa0;!</translation>
    </message>
    <message>
        <source>It is not saved yet: press Save to keep it.</source>
        <translation>Il n&apos;est pas encore enregistré : cliquez sur Enregistrer pour le garder.</translation>
    </message>
    <message>
        <source>These pictures could not be read and were left out:</source>
        <translation>Ces images n&apos;ont pas pu être lues et ont été laissées de côté&#xa0;:</translation>
    </message>
    <message>
        <source>These voices are so long that on an older 32-bit Windows PC the slideshow may stop at them for lack of memory:</source>
        <translation>Ces enregistrements sont si longs que, sur un ancien PC Windows 32&#xa0;bits, le diaporama peut s&apos;y arrêter faute de mémoire&#xa0;:</translation>
    </message>
    <message>
        <source>The following error occured during the creation process:<byte value="xd"/>%s</source>
        <translation>L&apos;erreur suivante s&apos;est produite pendant la création&#xa0;:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the process?</source>
        <translation>Voulez-vous vraiment annuler la création&#xa0;?</translation>
    </message>
    <message>
        <source>Do you want to save the slideshow before you exit?</source>
        <translation>Voulez-vous enregistrer le diaporama avant de quitter&#xa0;?</translation>
    </message>
    <message>
        <source>The slideshow you are working on is not saved. Do you want to discard it, with its messages and recordings?

Yes discards it. No keeps it for the next start. Cancel goes back to it.</source>
        <translation>Le diaporama en cours n&apos;est pas enregistré. Voulez-vous l&apos;abandonner, avec ses messages et ses enregistrements&#xa0;?

Oui l&apos;abandonne. Non le garde pour le prochain démarrage. Annuler y revient.</translation>
    </message>
</context>
<context>
    <name>tovak::PictureView</name>
    <message>
        <source>Picture preview</source>
        <translation>Aperçu de l&apos;image</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Aucune image</translation>
    </message>
    <message>
        <source>Picture shown</source>
        <translation>Image affichée</translation>
    </message>
</context>
<context>
    <name>tovak::PlayerWindow</name>
    <message>
        <source>(paused)</source>
        <translation>(en pause)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>tovak::ResultActions</name>
    <message>
        <source>It&apos;s recommended to send Tovak! slideshows as &quot;.zip&quot; files.<byte value="xd"/>Some mail servers will automatically remove &quot;.exe&quot; attachments.<byte value="xd"/><byte value="xd"/>Would you like to e-mail your slideshow anyway?</source>
        <translation>Il est conseillé d&apos;envoyer les diaporamas Tovak! sous forme de fichier «&#xa0;.zip&#xa0;».<byte value="xd"/>Certains serveurs de messagerie suppriment automatiquement les pièces jointes «&#xa0;.exe&#xa0;».<byte value="xd"/><byte value="xd"/>Voulez-vous quand même envoyer votre diaporama par e-mail&#xa0;?</translation>
    </message>
    <message>
        <source>File exists (%s) - Do you want to overwrite it?</source>
        <translation>Le fichier existe déjà (%s). Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>No e-mail program could be started. Please attach the slideshow to a message yourself; its folder is opened for you:<byte value="xd"/>%s</source>
        <translation>Aucun logiciel de messagerie n&apos;a pu être lancé. Joignez vous-même le diaporama à un message&#xa0;; son dossier va s&apos;ouvrir&#xa0;:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be saved as %s:<byte value="xd"/>%s</source>
        <translation>Le diaporama n&apos;a pas pu être enregistré sous %s&#xa0;:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Save Talking Slideshow</source>
        <translation>Enregistrer le diaporama parlant</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Diaporamas parlants (*.exe)</translation>
    </message>
    <message>
        <source>Zipped Slideshows (*.zip)</source>
        <translation>Diaporamas compressés (*.zip)</translation>
    </message>
    <message>
        <source>A slideshow can only be saved as a &quot;.exe&quot;, a &quot;.zip&quot;, a &quot;.html&quot; or a &quot;.mp4&quot; file. Nothing was saved as %s.</source>
        <translation>Un diaporama ne peut être enregistré que comme fichier « .exe », « .zip », « .html » ou « .mp4 ». Rien n’a été enregistré sous %s.</translation>
    </message>
    <message>
        <source>Web Slideshows (*.html)</source>
        <translation>Diaporamas Web (*.html)</translation>
    </message>
    <message>
        <source>The slideshow is still being created. Please wait until it is finished.</source>
        <translation>Le diaporama est encore en cours de création. Veuillez attendre qu&apos;il soit terminé.</translation>
    </message>
    <message>
        <source>The slideshow is not complete, so it cannot be used:<byte value="xd"/>%s</source>
        <translation>Le diaporama n&apos;est pas complet et ne peut pas être utilisé&#xa0;:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Slideshows cannot be saved in the working folder %s, because Quillora Tovak! empties it. Please choose another folder.</source>
        <translation>Les diaporamas ne peuvent pas être enregistrés dans le dossier de travail %s, car Quillora Tovak! le vide. Veuillez choisir un autre dossier.</translation>
    </message>
    <message>
        <source>No e-mail program could be started. The slideshow is not saved yet and is deleted when Quillora Tovak! closes.<byte value="xd"/><byte value="xd"/>Save it now, so that you can attach it to a message yourself?</source>
        <translation>Aucun programme de messagerie n’a pu être lancé. Le diaporama n’est pas encore enregistré et sera supprimé à la fermeture de Quillora Tovak!.<byte value="xd"/><byte value="xd"/>L’enregistrer maintenant pour le joindre vous-même à un message ?</translation>
    </message>
    <message>
        <source>The pictures, messages or voices were changed after this slideshow was created, so it does not show the changes.<byte value="xd"/><byte value="xd"/>Use it anyway? Choose No, then press Edit! to create it again.</source>
        <translation>Les images, messages ou voix ont été modifiés après la création de ce diaporama ; il ne montre donc pas ces changements.<byte value="xd"/><byte value="xd"/>L’utiliser quand même ? Choisissez Non, puis cliquez sur Modifier pour le créer à nouveau.</translation>
    </message>
    <message>
        <source>Videos (*.mp4)</source>
        <translation>Vidéos (*.mp4)</translation>
    </message>
    <message>
        <source>Saving the slideshow as a video</source>
        <translation>Enregistrement du diaporama en vidéo</translation>
    </message>
    <message>
        <source>Picture %s of %s</source>
        <translation>Image %s sur %s</translation>
    </message>
    <message>
        <source>The video was saved as %s, but some pictures or voices could not be read; they are black or silent in it:<byte value="xd"/>%s</source>
        <translation>La vidéo a été enregistrée sous %s, mais certaines images ou voix n’ont pas pu être lues ; elles y sont noires ou muettes :<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>My Talking Slideshow.exe</source>
        <translation>Mon diaporama parlant.exe</translation>
    </message>
    <message>
        <source>No program on this computer could open %s. Please install a program for &quot;%s&quot; files, or open the file yourself; its folder is opened for you.</source>
        <translation>Aucun programme de cet ordinateur n&apos;a pu ouvrir %s. Veuillez installer un programme pour les fichiers « %s » ou ouvrir le fichier vous-même ; son dossier est ouvert pour vous.</translation>
    </message>
    <message>
        <source>No file manager could be started to show the folder %s. Please open it yourself.</source>
        <translation>Aucun gestionnaire de fichiers n&apos;a pu être lancé pour afficher le dossier %s. Veuillez l&apos;ouvrir vous-même.</translation>
    </message>
    <message>
        <source>Saved: %s</source>
        <translation>Enregistré : %s</translation>
    </message>
</context>
<context>
    <name>tovak::SelectLanguageDialog</name>
    <message>
        <source>Language Selection</source>
        <translation>Choix de la langue</translation>
    </message>
    <message>
        <source>&amp;Choose the language of the program:</source>
        <translation>&amp;Choisissez la langue du programme&#xa0;:</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Langues</translation>
    </message>
</context>
<context>
    <name>tovak::ShowKeys</name>
    <message>
        <source>Space, Right, Page Down, click</source>
        <translation>Espace, Droite, Page suivante, clic</translation>
    </message>
    <message>
        <source>Next picture</source>
        <translation>Image suivante</translation>
    </message>
    <message>
        <source>Left, Backspace, Page Up</source>
        <translation>Gauche, Retour arrière, Page précédente</translation>
    </message>
    <message>
        <source>Previous picture</source>
        <translation>Image précédente</translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation>Début, Fin</translation>
    </message>
    <message>
        <source>First, last picture</source>
        <translation>Première, dernière image</translation>
    </message>
    <message>
        <source>Pause, go on</source>
        <translation>Pause, reprendre</translation>
    </message>
    <message>
        <source>Replay the voice</source>
        <translation>Réécouter la voix</translation>
    </message>
    <message>
        <source>Up, +</source>
        <translation>Haut, +</translation>
    </message>
    <message>
        <source>Louder</source>
        <translation>Plus fort</translation>
    </message>
    <message>
        <source>Down, -</source>
        <translation>Bas, -</translation>
    </message>
    <message>
        <source>Softer</source>
        <translation>Moins fort</translation>
    </message>
    <message>
        <source>Mute, unmute</source>
        <translation>Couper, rétablir le son</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>These keys</source>
        <translation>Ces touches</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Any key or click closes.</source>
        <translation>Une touche ou un clic ferme.</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Touches</translation>
    </message>
    <message>
        <source>Any key or click closes this list.</source>
        <translation>Une touche ou un clic ferme cette liste.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowProblem</name>
    <message>
        <source>This player has no slideshow attached. Build one with Quillora Tovak!</source>
        <translation>Ce lecteur ne contient aucun diaporama. Créez-en un avec Quillora Tovak&#xa0;!</translation>
    </message>
    <message>
        <source>This slideshow cannot be played. It may have been damaged on its way: ask for it to be sent again.</source>
        <translation>Ce diaporama ne peut pas être lu. Il a peut-être été abîmé en chemin : demandez qu&apos;on vous le renvoie.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowVolume</name>
    <message>
        <source>Muted</source>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Volume %1 %</source>
        <translation>Volume %1 %</translation>
    </message>
</context>
<context>
    <name>tovak::TfmFloatingPreview</name>
    <message>
        <source>Floating Preview</source>
        <translation>Aperçu flottant</translation>
    </message>
</context>
<context>
    <name>tovak::TfmManual</name>
    <message>
        <source>All files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>Press Add to put your pictures into the slideshow.</source>
        <translation>Cliquez sur Ajouter pour mettre vos images dans le diaporama.</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>No volume control program was found. Install &quot;pavucontrol&quot; (PulseAudio Volume Control) to adjust the recording and playback volume.</source>
        <translation>Aucun logiciel de réglage du volume n&apos;a été trouvé. Installez «&#xa0;pavucontrol&#xa0;» (contrôle du volume PulseAudio) pour régler le volume d&apos;enregistrement et de lecture.</translation>
    </message>
    <message>
        <source>Slideshow Settings</source>
        <translation>Préparer le diaporama</translation>
    </message>
    <message>
        <source>Pictures in Slideshow</source>
        <translation>Images du diaporama</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>Add new images</source>
        <translation>Ajouter des images</translation>
    </message>
    <message>
        <source>Rem&amp;ove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>Remove selected file(s) (DEL)</source>
        <translation>Retirer les images sélectionnées (Suppr)</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Vers le &amp;haut</translation>
    </message>
    <message>
        <source>Move selected file up</source>
        <translation>Monter l&apos;image sélectionnée</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Vers le &amp;bas</translation>
    </message>
    <message>
        <source>Move selected file down</source>
        <translation>Descendre l&apos;image sélectionnée</translation>
    </message>
    <message>
        <source>Importing and checking...</source>
        <translation>Importation et vérification...</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview</source>
        <translation>Aperçu de l&apos;image</translation>
    </message>
    <message>
        <source>Picture&apos;s Text</source>
        <translation>Texte de l&apos;image</translation>
    </message>
    <message>
        <source>&amp;Floating Preview</source>
        <translation>A&amp;perçu flottant</translation>
    </message>
    <message>
        <source>Show floating preview of selected image</source>
        <translation>Afficher l&apos;image sélectionnée dans une fenêtre à part</translation>
    </message>
    <message>
        <source>Picture&apos;s Voice</source>
        <translation>Voix de l&apos;image</translation>
    </message>
    <message>
        <source>Uncompressed:</source>
        <translation>Non compressé&#xa0;:</translation>
    </message>
    <message>
        <source>Compressed:</source>
        <translation>Compressé&#xa0;:</translation>
    </message>
    <message>
        <source>Display the Volume Control Panel</source>
        <translation>Ouvrir le réglage du volume</translation>
    </message>
    <message>
        <source>Recording status</source>
        <translation>État de l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>Micro</translation>
    </message>
    <message>
        <source>Microphones</source>
        <translation>Micros</translation>
    </message>
    <message>
        <source>Microphone level</source>
        <translation>Niveau du micro</translation>
    </message>
    <message>
        <source>&amp;Microphone:</source>
        <translation>&amp;Micro&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Record!</source>
        <translation>Par&amp;ler&#xa0;!</translation>
    </message>
    <message>
        <source>Push this button and speak to your microphone</source>
        <translation>Cliquez ici et parlez dans le micro</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Arrê&amp;ter</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Arrêter l&apos;enregistrement</translation>
    </message>
    <message>
        <source>&amp;Erase</source>
        <translation>Effa&amp;cer</translation>
    </message>
    <message>
        <source>Remove this recorded file</source>
        <translation>Effacer cet enregistrement</translation>
    </message>
    <message>
        <source>Listen to the previous recording with this file</source>
        <translation>Écouter l&apos;enregistrement de cette image</translation>
    </message>
    <message>
        <source>Stop playing the recording</source>
        <translation>Arrêter la lecture de l&apos;enregistrement</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Vider</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>&amp;Go&#xa0;!</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Start with &quot;Single Screen Mode&quot; ne&amp;xt time</source>
        <translation>&amp;Démarrer en «&#xa0;mode écran unique&#xa0;» la prochaine fois</translation>
    </message>
    <message>
        <source>Show this window the next time you start Tovak!</source>
        <translation>Afficher cette fenêtre au prochain démarrage de Tovak!</translation>
    </message>
    <message>
        <source>Insert Short Filename into Message</source>
        <translation>Insérer le nom court du fichier dans le texte</translation>
    </message>
    <message>
        <source>Insert Long Filename into Message</source>
        <translation>Insérer le nom complet du fichier dans le texte</translation>
    </message>
    <message>
        <source>Record Your Message</source>
        <translation>Enregistrer votre message</translation>
    </message>
    <message>
        <source>Listen to Recorded Message</source>
        <translation>Écouter le message enregistré</translation>
    </message>
    <message>
        <source>Erase Recorded Message</source>
        <translation>Effacer le message enregistré</translation>
    </message>
    <message>
        <source>Add New File(s)</source>
        <translation>Ajouter des images</translation>
    </message>
    <message>
        <source>Remove Selected File(s)</source>
        <translation>Retirer les images sélectionnées</translation>
    </message>
    <message>
        <source>Move Selected File(s) Up</source>
        <translation>Monter les images sélectionnées</translation>
    </message>
    <message>
        <source>Move Selected File(s) Down</source>
        <translation>Descendre les images sélectionnées</translation>
    </message>
    <message>
        <source>All Supported Media Formats</source>
        <translation>Tous les formats d&apos;image pris en charge</translation>
    </message>
    <message>
        <source>Windows Bitmap (BMP)</source>
        <translation>Bitmap Windows (BMP)</translation>
    </message>
    <message>
        <source>Credit Message (CMS)</source>
        <translation>Message de générique (CMS)</translation>
    </message>
    <message>
        <source>JPEG (JPG)</source>
        <translation>JPEG (JPG)</translation>
    </message>
    <message>
        <source>PC Paintbrush (PCX)</source>
        <translation>PC Paintbrush (PCX)</translation>
    </message>
    <message>
        <source>Portable Graphics (PNG)</source>
        <translation>Graphique portable (PNG)</translation>
    </message>
    <message>
        <source>Tagged Image (TIF)</source>
        <translation>Image TIFF (TIF)</translation>
    </message>
    <message>
        <source>Kodak Photo CD (PCD)</source>
        <translation>Kodak Photo CD (PCD)</translation>
    </message>
    <message>
        <source>Windows Metafile (WMF)</source>
        <translation>Métafichier Windows (WMF)</translation>
    </message>
    <message>
        <source>Enhanced Metafile (EMF)</source>
        <translation>Métafichier amélioré (EMF)</translation>
    </message>
    <message>
        <source>CompuServe GIF (GIF)</source>
        <translation>CompuServe GIF (GIF)</translation>
    </message>
    <message>
        <source>PCT File</source>
        <translation>Fichier PCT</translation>
    </message>
    <message>
        <source>HEIF Photo (HEIC)</source>
        <translation>Photo HEIF (HEIC)</translation>
    </message>
    <message>
        <source>WebP Picture (WEBP)</source>
        <translation>Image WebP (WEBP)</translation>
    </message>
    <message>
        <source>AVIF Picture (AVIF)</source>
        <translation>Image AVIF (AVIF)</translation>
    </message>
    <message>
        <source>Pictures in Slidesho&amp;w</source>
        <translation>&amp;Images du diaporama</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview a&amp;nd Text</source>
        <translation>Aperçu et te&amp;xte de l&apos;image</translation>
    </message>
    <message>
        <source>Ad&amp;just Volume Settings</source>
        <translation>Régler le vol&amp;ume</translation>
    </message>
</context>
<context>
    <name>tovak::TfmPlimoMainScreen</name>
    <message>
        <source>&amp;Open Slideshow...</source>
        <translation>&amp;Ouvrir un diaporama...</translation>
    </message>
    <message>
        <source>Open a talking slideshow to change it</source>
        <translation>Ouvrir un diaporama parlant pour le modifier</translation>
    </message>
    <message>
        <source>Open Slideshow</source>
        <translation>Ouvrir un diaporama</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Diaporamas parlants (*.exe)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The settings could not be stored (%s). They hold until the program ends.</source>
        <translation>Les réglages n&apos;ont pas pu être enregistrés (%s). Ils restent valables jusqu&apos;à la fermeture du programme.</translation>
    </message>
    <message>
        <source>Your choice of language could not be stored (%s). It holds until the program ends.</source>
        <translation>Votre choix de langue n&apos;a pas pu être enregistré (%s). Il reste valable jusqu&apos;à la fermeture du programme.</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>&amp;Edit!</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>&amp;Go&#xa0;!</translation>
    </message>
    <message>
        <source>[Untitled Slideshow]</source>
        <translation>[Diaporama sans titre]</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>It&apos;s a great idea to send slideshows to friends and family in a single-file, self executable format.<byte value="xd"/>
<byte value="xd"/>
Just imagine the look on their faces when they hear your voice...</source>
        <translation>Envoyez vos diaporamas à vos amis et à votre famille en un seul fichier qui se lance tout seul&#xa0;: c&apos;est une excellente idée&#xa0;!<byte value="xd"/>
<byte value="xd"/>
Imaginez leur visage quand ils entendront votre voix...</translation>
    </message>
    <message>
        <source>Images in talking slideshow</source>
        <translation>Images dans le diaporama parlant</translation>
    </message>
    <message>
        <source>In Process...</source>
        <translation>Création en cours...</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>P&amp;review</source>
        <translation>A&amp;perçu</translation>
    </message>
    <message>
        <source>Preview the talking slideshow</source>
        <translation>Regarder le diaporama parlant</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>En&amp;voyer</translation>
    </message>
    <message>
        <source>Send the talking slideshow to a friend</source>
        <translation>Envoyer le diaporama parlant à un proche</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Ouvrir le dossier</translation>
    </message>
    <message>
        <source>Open File Explorer in the slideshow&apos;s folder</source>
        <translation>Ouvrir le dossier du diaporama dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Sa&amp;ve</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save the talking slideshow for later use</source>
        <translation>Enregistrer le diaporama parlant pour plus tard</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Ferme&amp;r</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Ferme&amp;r</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Fermer cette fenêtre</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Bannière</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Enregistrer &amp;sous</translation>
    </message>
    <message>
        <source>&amp;Single Screen...</source>
        <translation>Écran &amp;unique...</translation>
    </message>
    <message>
        <source>&amp;Multi Screen...</source>
        <translation>&amp;Plusieurs écrans...</translation>
    </message>
    <message>
        <source>&amp;Language Selection...</source>
        <translation>&amp;Langue...</translation>
    </message>
    <message>
        <source>Show Banner</source>
        <translation>Afficher la bannière</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Réglages...</translation>
    </message>
    <message>
        <source>&amp;Internet</source>
        <translation>&amp;Internet</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À propo&amp;s</translation>
    </message>
    <message>
        <source>About Tovak! (%s)</source>
        <translation>À propos de Tovak! (%s)</translation>
    </message>
    <message>
        <source>There is not enough memory to finish this. Please close other programs and try again.</source>
        <translation>La mémoire est insuffisante pour terminer cette opération. Veuillez fermer d&apos;autres programmes et réessayer.</translation>
    </message>
    <message>
        <source>%1 % done</source>
        <translation>%1 % effectué</translation>
    </message>
    <message>
        <source>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Turns pictures into a talking slideshow.<byte value="xd"/>Licence: proprietary.<byte value="xd"/><byte value="xd"/>Program folder: %s<byte value="xd"/>Working folder: %s<byte value="xd"/>Settings file: %s</source>
        <translation>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Fait de vos images un diaporama parlant.<byte value="xd"/>Licence : propriétaire.<byte value="xd"/><byte value="xd"/>Dossier du programme : %s<byte value="xd"/>Dossier de travail : %s<byte value="xd"/>Fichier des réglages : %s</translation>
    </message>
    <message>
        <source>About Quillora Tovak!</source>
        <translation>À propos de Quillora Tovak!</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSettings</name>
    <message>
        <source>Use original sizes</source>
        <translation>Garder la taille d&apos;origine</translation>
    </message>
    <message>
        <source>%1 x %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Customize settings for the slideshow</source>
        <translation>Réglages du diaporama</translation>
    </message>
    <message>
        <source>Here you can customize the slideshow settings.  This will  affect the size and image quality of the slideshows you make.</source>
        <translation>Ici, vous pouvez régler vos diaporamas. Ces réglages changent la taille et la qualité des images des diaporamas que vous créez.</translation>
    </message>
    <message>
        <source>Compact Mode Settings</source>
        <translation>Réglages du mode compact</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the compact mode.</source>
        <translation>Choisissez les réglages à utiliser pour créer des diaporamas en mode compact.</translation>
    </message>
    <message>
        <source>Full Mode Settings</source>
        <translation>Réglages du mode grand format</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the full mode.</source>
        <translation>Choisissez les réglages à utiliser pour créer des diaporamas en mode grand format.</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Plus faible</translation>
    </message>
    <message>
        <source>Higher</source>
        <translation>Plus élevée</translation>
    </message>
    <message>
        <source>&amp;Always use those settings</source>
        <translation>&amp;Toujours utiliser ces réglages</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Image &amp;Size:</source>
        <translation>Tai&amp;lle des images&#xa0;:</translation>
    </message>
    <message>
        <source>Image &amp;Quality:</source>
        <translation>&amp;Qualité des images&#xa0;:</translation>
    </message>
    <message>
        <source>Image Si&amp;ze:</source>
        <translation>Ta&amp;ille des images&#xa0;:</translation>
    </message>
    <message>
        <source>Image Qualit&amp;y:</source>
        <translation>Qualit&amp;é des images&#xa0;:</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSlideshowProps</name>
    <message>
        <source>Choose Creation Mode</source>
        <translation>Choisir le type de diaporama</translation>
    </message>
    <message>
        <source>You&apos;re Almost Done!</source>
        <translation>Vous y êtes presque&#xa0;!</translation>
    </message>
    <message>
        <source>Set the final settings before you create the slideshow.</source>
        <translation>Faites les derniers réglages avant de créer le diaporama.</translation>
    </message>
    <message>
        <source>Choose a Compact or a Full-mode Slideshow</source>
        <translation>Diaporama compact ou grand format&#xa0;?</translation>
    </message>
    <message>
        <source>Create a co&amp;mpact-mode slideshow</source>
        <translation>Créer un diaporama &amp;compact</translation>
    </message>
    <message>
        <source>This option downscales and compresses pictures to relatively small size.  Suitable for e-mail with dial-up connections.</source>
        <translation>Les images sont réduites et compressées pour prendre peu de place. Idéal pour l&apos;envoi par e-mail avec une connexion lente.</translation>
    </message>
    <message>
        <source>Create a &amp;full-mode slideshow</source>
        <translation>Créer un diaporama &amp;grand format</translation>
    </message>
    <message>
        <source>Less compression and larger pictures.  Suitable for full screen slideshows and high speed connections.</source>
        <translation>Moins de compression et des images plus grandes. Idéal pour les diaporamas en plein écran et les connexions rapides.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Click here to change the Com&amp;pact Mode properties</source>
        <translation>Cliquez ici pour modifier les réglages du mode com&amp;pact</translation>
    </message>
    <message>
        <source>Click here to change the F&amp;ull Mode properties</source>
        <translation>Cliquez ici pour modifier les réglages du mode grand forma&amp;t</translation>
    </message>
</context>
<context>
    <name>tovak::WebSlideshow</name>
    <message>
        <source>en</source>
        <comment>the language code of this translation, for web pages</comment>
        <translation>fr</translation>
    </message>
    <message>
        <source>Slideshow</source>
        <translation>Diaporama</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Liens</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Chargement…</translation>
    </message>
    <message>
        <source>Space or → next · ← back · P pause · F full screen · tap or swipe on a touch screen</source>
        <translation>Espace ou → suivante · ← précédente · P pause · F plein écran · toucher ou balayer sur un écran tactile</translation>
    </message>
    <message>
        <source>End of the slideshow</source>
        <translation>Fin du diaporama</translation>
    </message>
    <message>
        <source>The end</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Revoir</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 image</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>Picture %1 of %2</source>
        <translation>Image %1 sur %2</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>en pause</translation>
    </message>
</context>
<context>
    <name>tovak::WorkingFolder</name>
    <message>
        <source>The working folder &quot;%s&quot; cannot be created (%s).</source>
        <translation>Le dossier de travail &quot;%s&quot; ne peut pas être créé (%s).</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be written (%s).</source>
        <translation>Impossible d&apos;écrire dans le dossier de travail &quot;%s&quot; (%s).</translation>
    </message>
    <message>
        <source>Another copy of the program is using the working folder &quot;%s&quot;.</source>
        <translation>Une autre copie du programme utilise le dossier de travail &quot;%s&quot;.</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be locked (%s).</source>
        <translation>Le dossier de travail &quot;%s&quot; ne peut pas être verrouillé (%s).</translation>
    </message>
    <message>
        <source>The list of the slideshow you were working on could not be read, so nothing was deleted from its folder. Your recordings and messages are in &quot;%s&quot;; the list was kept as &quot;%s&quot;.</source>
        <translation>La liste du diaporama sur lequel vous travailliez n&apos;a pas pu être lue ; rien n&apos;a donc été supprimé de son dossier. Vos enregistrements et messages se trouvent dans &quot;%s&quot; ; la liste a été conservée sous &quot;%s&quot;.</translation>
    </message>
</context>
</TS>
