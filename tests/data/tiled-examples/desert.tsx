<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.4" tiledversion="1.4.3" name="Desert" tilewidth="32" tileheight="32" spacing="1" margin="1" tilecount="48" columns="8">
 <image source="tmw_desert_spacing.png" width="265" height="199"/>
 <tile id="30" probability="0.01"/>
 <tile id="31" probability="0.01"/>
 <tile id="37" probability="0.01"/>
 <tile id="38" probability="0.01"/>
 <tile id="39" probability="0.01"/>
 <tile id="45" probability="0"/>
 <tile id="46" probability="0.01"/>
 <tile id="47" probability="0.01"/>
 <wangsets>
  <wangset name="Desert" type="corner" tile="5">
   <wangcolor name="Desert" color="#ff0000" tile="29" probability="1"/>
   <wangcolor name="Brick" color="#00ff00" tile="9" probability="1"/>
   <wangcolor name="Cobblestone" color="#0000ff" tile="33" probability="1"/>
   <wangcolor name="Dirt" color="#ff7700" tile="14" probability="1"/>
   <wangtile tileid="0" wangid="0,1,0,2,0,1,0,1"/>
   <wangtile tileid="1" wangid="0,1,0,2,0,2,0,1"/>
   <wangtile tileid="2" wangid="0,1,0,1,0,2,0,1"/>
   <wangtile tileid="3" wangid="0,4,0,1,0,4,0,4"/>
   <wangtile tileid="4" wangid="0,4,0,4,0,1,0,4"/>
   <wangtile tileid="5" wangid="0,1,0,4,0,1,0,1"/>
   <wangtile tileid="6" wangid="0,1,0,4,0,4,0,1"/>
   <wangtile tileid="7" wangid="0,1,0,1,0,4,0,1"/>
   <wangtile tileid="8" wangid="0,2,0,2,0,1,0,1"/>
   <wangtile tileid="9" wangid="0,2,0,2,0,2,0,2"/>
   <wangtile tileid="10" wangid="0,1,0,1,0,2,0,2"/>
   <wangtile tileid="11" wangid="0,1,0,4,0,4,0,4"/>
   <wangtile tileid="12" wangid="0,4,0,4,0,4,0,1"/>
   <wangtile tileid="13" wangid="0,4,0,4,0,1,0,1"/>
   <wangtile tileid="14" wangid="0,4,0,4,0,4,0,4"/>
   <wangtile tileid="15" wangid="0,1,0,1,0,4,0,4"/>
   <wangtile tileid="16" wangid="0,2,0,1,0,1,0,1"/>
   <wangtile tileid="17" wangid="0,2,0,1,0,1,0,2"/>
   <wangtile tileid="18" wangid="0,1,0,1,0,1,0,2"/>
   <wangtile tileid="19" wangid="0,2,0,1,0,2,0,2"/>
   <wangtile tileid="20" wangid="0,2,0,2,0,1,0,2"/>
   <wangtile tileid="21" wangid="0,4,0,1,0,1,0,1"/>
   <wangtile tileid="22" wangid="0,4,0,1,0,1,0,4"/>
   <wangtile tileid="23" wangid="0,1,0,1,0,1,0,4"/>
   <wangtile tileid="24" wangid="0,1,0,3,0,1,0,1"/>
   <wangtile tileid="25" wangid="0,1,0,3,0,3,0,1"/>
   <wangtile tileid="26" wangid="0,1,0,1,0,3,0,1"/>
   <wangtile tileid="27" wangid="0,1,0,2,0,2,0,2"/>
   <wangtile tileid="28" wangid="0,2,0,2,0,2,0,1"/>
   <wangtile tileid="29" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="30" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="31" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="32" wangid="0,3,0,3,0,1,0,1"/>
   <wangtile tileid="33" wangid="0,3,0,3,0,3,0,3"/>
   <wangtile tileid="34" wangid="0,1,0,1,0,3,0,3"/>
   <wangtile tileid="35" wangid="0,3,0,1,0,3,0,3"/>
   <wangtile tileid="36" wangid="0,3,0,3,0,1,0,3"/>
   <wangtile tileid="37" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="38" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="39" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="40" wangid="0,3,0,1,0,1,0,1"/>
   <wangtile tileid="41" wangid="0,3,0,1,0,1,0,3"/>
   <wangtile tileid="42" wangid="0,1,0,1,0,1,0,3"/>
   <wangtile tileid="43" wangid="0,1,0,3,0,3,0,3"/>
   <wangtile tileid="44" wangid="0,3,0,3,0,3,0,1"/>
   <wangtile tileid="45" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="46" wangid="0,1,0,1,0,1,0,1"/>
   <wangtile tileid="47" wangid="0,1,0,1,0,1,0,1"/>
  </wangset>
 </wangsets>
</tileset>
