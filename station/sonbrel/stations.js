// The bundled demo stations; streams are relative to this page so any static server works.
var STATIONS = [
  { name: "晨光音乐台", frequency: "FM 97.4", city: "Harlune", stream: "../streams/morning.mp3" },
  { name: "江畔之声", frequency: "FM 101.8", city: "临江", stream: "../streams/river.mp3" },
  { name: "夜空电台", frequency: "FM 88.6", city: "北原", stream: "../streams/night.mp3" },
  { name: "城市节拍", frequency: "FM 105.2", city: "Harlune", stream: "../streams/city.mp3" }
];
