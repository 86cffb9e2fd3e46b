<?xml version="1.0" encoding="UTF-8"?>
<tileset name="Insel" tilewidth="64" tileheight="64" tilecount="16" columns="8">
  <image source="Karten/Insel.PNG" width="512" height="128"/>
 </tileset>