#pragma once

// The words the demo register is made of. Every text is latin2, as the register
// is: no en dash, no typographic quotes.
namespace DemoVocabulary {

struct PostalCode
{
    const char *code;
    const char *town;
};

// clang-format off
inline constexpr PostalCode postalCodes[] = {
    {"1011", "Budapest"}, {"1021", "Budapest"}, {"1031", "Budapest"}, {"1041", "Budapest"},
    {"1051", "Budapest"}, {"1061", "Budapest"}, {"1071", "Budapest"}, {"1081", "Budapest"},
    {"1091", "Budapest"}, {"1101", "Budapest"}, {"1111", "Budapest"}, {"1121", "Budapest"},
    {"1131", "Budapest"}, {"1141", "Budapest"}, {"1151", "Budapest"}, {"1161", "Budapest"},
    {"1171", "Budapest"}, {"1181", "Budapest"}, {"1191", "Budapest"}, {"1201", "Budapest"},
    {"1211", "Budapest"}, {"1221", "Budapest"}, {"1231", "Budapest"}, {"2000", "Szentendre"},
    {"2011", "Budakalász"}, {"2013", "Pomáz"}, {"2025", "Visegrád"}, {"2030", "Érd"}, {"2040", "Budaörs"},
    {"2045", "Törökbálint"}, {"2060", "Bicske"}, {"2085", "Pilisvörösvár"}, {"2092", "Budakeszi"},
    {"2100", "Gödöllő"}, {"2111", "Szada"}, {"2112", "Veresegyház"}, {"2120", "Dunakeszi"}, {"2131", "Göd"},
    {"2151", "Fót"}, {"2162", "Őrbottyán"}, {"2170", "Aszód"}, {"2194", "Tura"}, {"2200", "Monor"},
    {"2220", "Vecsés"}, {"2225", "Üllő"}, {"2300", "Ráckeve"}, {"2310", "Szigetszentmiklós"},
    {"2360", "Gyál"}, {"2364", "Ócsa"}, {"2370", "Dabas"}, {"2400", "Dunaújváros"},
    {"2440", "Százhalombatta"}, {"2483", "Gárdony"}, {"2500", "Esztergom"}, {"2600", "Vác"},
    {"2626", "Nagymaros"}, {"2628", "Szob"}, {"2651", "Rétság"}, {"2660", "Balassagyarmat"},
    {"2700", "Cegléd"}, {"2740", "Abony"}, {"2750", "Nagykőrös"}, {"2760", "Nagykáta"}, {"2800", "Tatabánya"},
    {"2840", "Oroszlány"}, {"2890", "Tata"}, {"2900", "Komárom"}, {"3000", "Hatvan"}, {"3060", "Pásztó"},
    {"3070", "Bátonyterenye"}, {"3100", "Salgótarján"}, {"3170", "Szécsény"}, {"3200", "Gyöngyös"},
    {"3300", "Eger"}, {"3360", "Heves"}, {"3390", "Füzesabony"}, {"3400", "Mezőkövesd"}, {"3525", "Miskolc"},
    {"3580", "Tiszaújváros"}, {"3600", "Ózd"}, {"3630", "Putnok"}, {"3700", "Kazincbarcika"},
    {"3780", "Edelény"}, {"3860", "Encs"}, {"3900", "Szerencs"}, {"3910", "Tokaj"}, {"3950", "Sárospatak"},
    {"3980", "Sátoraljaújhely"}, {"4024", "Debrecen"}, {"4060", "Balmazújváros"}, {"4080", "Hajdúnánás"},
    {"4090", "Polgár"}, {"4100", "Berettyóújfalu"}, {"4150", "Püspökladány"}, {"4200", "Hajdúszoboszló"},
    {"4220", "Hajdúböszörmény"}, {"4244", "Újfehértó"}, {"4300", "Nyírbátor"}, {"4400", "Nyíregyháza"},
    {"4440", "Tiszavasvári"}, {"4600", "Kisvárda"}, {"4700", "Mátészalka"}, {"4800", "Vásárosnamény"},
    {"4900", "Fehérgyarmat"}, {"5000", "Szolnok"}, {"5100", "Jászberény"}, {"5130", "Jászapáti"},
    {"5200", "Törökszentmiklós"}, {"5300", "Karcag"}, {"5350", "Tiszafüred"}, {"5400", "Mezőtúr"},
    {"5435", "Martfű"}, {"5440", "Kunszentmárton"}, {"5540", "Szarvas"}, {"5600", "Békéscsaba"},
    {"5630", "Békés"}, {"5650", "Mezőberény"}, {"5700", "Gyula"}, {"5720", "Sarkad"}, {"5900", "Orosháza"},
    {"6000", "Kecskemét"}, {"6041", "Kerekegyháza"}, {"6050", "Lajosmizse"}, {"6060", "Tiszakécske"},
    {"6090", "Kunszentmiklós"}, {"6100", "Kiskunfélegyháza"}, {"6200", "Kiskőrös"}, {"6300", "Kalocsa"},
    {"6400", "Kiskunhalas"}, {"6440", "Jánoshalma"}, {"6500", "Baja"}, {"6600", "Szentes"},
    {"6640", "Csongrád"}, {"6720", "Szeged"}, {"6760", "Kistelek"}, {"6782", "Mórahalom"},
    {"6800", "Hódmezővásárhely"}, {"6900", "Makó"}, {"7000", "Sárbogárd"}, {"7030", "Paks"},
    {"7100", "Szekszárd"}, {"7130", "Tolna"}, {"7143", "Őcsény"}, {"7150", "Bonyhád"}, {"7200", "Dombóvár"},
    {"7300", "Komló"}, {"7400", "Kaposvár"}, {"7500", "Nagyatád"}, {"7570", "Barcs"}, {"7621", "Pécs"},
    {"7700", "Mohács"}, {"7720", "Pécsvárad"}, {"7773", "Villány"}, {"7800", "Siklós"}, {"7815", "Harkány"},
    {"7900", "Szigetvár"}, {"7960", "Sellye"}, {"8000", "Székesfehérvár"}, {"8060", "Mór"},
    {"8100", "Várpalota"}, {"8130", "Enying"}, {"8142", "Úrhida"}, {"8161", "Ősi"}, {"8200", "Veszprém"},
    {"8220", "Balatonalmádi"}, {"8230", "Balatonfüred"}, {"8237", "Tihany"}, {"8258", "Badacsonytomaj"},
    {"8300", "Tapolca"}, {"8330", "Sümeg"}, {"8360", "Keszthely"}, {"8380", "Hévíz"}, {"8400", "Ajka"},
    {"8420", "Zirc"}, {"8440", "Herend"}, {"8460", "Devecser"}, {"8500", "Pápa"}, {"8600", "Siófok"},
    {"8630", "Balatonboglár"}, {"8640", "Fonyód"}, {"8660", "Tab"}, {"8700", "Marcali"},
    {"8790", "Zalaszentgrót"}, {"8800", "Nagykanizsa"}, {"8868", "Letenye"}, {"8900", "Zalaegerszeg"},
    {"8960", "Lenti"}, {"8999", "Zalalövő"}, {"9021", "Győr"}, {"9090", "Pannonhalma"}, {"9100", "Tét"},
    {"9200", "Mosonmagyaróvár"}, {"9300", "Csorna"}, {"9330", "Kapuvár"}, {"9400", "Sopron"},
    {"9500", "Celldömölk"}, {"9600", "Sárvár"}, {"9700", "Szombathely"}, {"9730", "Kőszeg"}, {"9737", "Bük"},
    {"9800", "Vasvár"}, {"9900", "Körmend"}, {"9941", "Őriszentpéter"}, {"9970", "Szentgotthárd"},
};

inline constexpr const char *const surnames[] = {
    "Nagy", "Kovács", "Tóth", "Szabó", "Horváth", "Varga", "Kiss", "Molnár", "Németh", "Farkas", "Balogh",
    "Papp", "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh", "Simon", "Rácz", "Fekete", "Szilágyi", "Török",
    "Fehér", "Balázs", "Gál", "Kis", "Szűcs", "Kocsis", "Pintér", "Fodor", "Szalai", "Sipos", "Magyar",
    "Lukács", "Gulyás", "Biró", "Király", "Katona", "László", "Jakab", "Bogdán", "Sándor", "Boros", "Fazekas",
    "Kelemen", "Antal", "Orosz", "Somogyi", "Fülöp", "Veres", "Vincze", "Hegedűs", "Deák", "Budai", "Bálint",
    "Pál", "Illés", "Vörös", "Szőke", "Fábián", "Vass", "Bognár", "Lengyel", "Bodnár", "Hajdú", "Halász",
    "Máté", "Székely", "Kozma", "Gáspár", "Pásztor", "Bakos", "Dudás", "Major", "Orbán", "Hegyi", "Virág",
    "Barna", "Novák", "Soós", "Tamás", "Nemes", "Pataki", "Balla", "Faragó", "Kerekes", "Borbély", "Barta",
    "Szekeres", "Csonka", "Mezei", "Márton", "Csizmadia", "Erdős", "Győri", "Kőszegi", "Szőllősi", "Őri",
    "Ördög", "Fűzi", "Bőszörményi", "Gyürki", "Ürögdi", "Őze",
};

inline constexpr const char *const maleNames[] = {
    "János", "István", "László", "József", "Zoltán", "Sándor", "Gábor", "Ferenc", "Attila", "Péter", "Tamás",
    "Zsolt", "Tibor", "András", "Csaba", "Imre", "Lajos", "György", "Balázs", "Róbert", "Mihály", "Károly",
    "Béla", "Dávid", "Dániel", "Ádám", "Krisztián", "Norbert", "Gergő", "Levente", "Bence", "Máté", "Ödön",
    "Örs", "Győző", "Előd", "Szilárd", "Jenő", "Dezső", "Rezső", "Elemér", "Kálmán", "Gyula", "Miklós",
    "Endre", "Ernő", "Lőrinc", "Kristóf",
};

inline constexpr const char *const femaleNames[] = {
    "Mária", "Erzsébet", "Katalin", "Éva", "Ilona", "Anna", "Zsuzsanna", "Margit", "Judit", "Ágnes", "Andrea",
    "Erika", "Krisztina", "Mónika", "Edit", "Gabriella", "Szilvia", "Anita", "Eszter", "Tímea", "Nikolett",
    "Réka", "Orsolya", "Dóra", "Boglárka", "Enikő", "Tünde", "Ildikó", "Emőke", "Csilla", "Hajnalka", "Kinga",
    "Petra", "Zsófia", "Lili", "Noémi", "Gyöngyi", "Rozália", "Piroska", "Györgyi", "Bernadett", "Nóra",
    "Csenge", "Ünige", "Őszike",
};

inline constexpr const char *const streets[] = {
    "Kossuth Lajos utca", "Petőfi Sándor utca", "Rákóczi út", "Ady Endre utca", "Dózsa György út",
    "Széchenyi tér", "Arany János utca", "Jókai Mór utca", "Béke utca", "Kölcsey Ferenc utca",
    "Vörösmarty utca", "Bajcsy-Zsilinszky út", "Fő utca", "Szabadság tér", "Hunyadi János utca",
    "Deák Ferenc utca", "Táncsics Mihály utca", "Bem József utca", "Március 15. tér", "Zrínyi Miklós utca",
    "Erkel Ferenc utca", "Liszt Ferenc utca", "Vasút utca", "Kőrösi Csoma Sándor út", "Szőlő utca",
    "Gyümölcsös utca", "Őz utca", "Fűzfa utca", "Tűzoltó utca", "Üllői út", "Erdősor utca", "Damjanich utca",
    "Mező utca", "Iskola utca", "Templom tér",
};

inline constexpr const char *const firmStems[] = {
    "Alfa", "Duna", "Tisza", "Balaton", "Mátra", "Bükk", "Hungária", "Pannon", "Kárpát", "Napfény",
    "Zöldmező", "Kőbánya", "Erdőkert", "Szőlőhegy", "Nyírség", "Őrség", "Délibáb", "Tölgy", "Körös", "Rába",
    "Zala", "Somló", "Hegyalja", "Alföld", "Kunság", "Jászság", "Vértes", "Pilis", "Gemenc", "Hortobágy",
    "Bakony", "Dráva", "Sió", "Ipoly", "Zagyva", "Mecsek",
};

inline constexpr const char *const firmTrades[] = {
    "Építő", "Informatikai", "Mérnöki", "Gépészeti", "Kereskedelmi", "Tanácsadó", "Szállítmányozó",
    "Könyvelő", "Nyomdaipari", "Takarító", "Vagyonvédelmi", "Villanyszerelő", "Fűtéstechnikai", "Ügyviteli",
    "Környezetvédelmi", "Útépítő", "Kertészeti", "Irodatechnikai",
};

inline constexpr const char *const legalForms[] = {"Kft.", "Kft.", "Kft.", "Kft.", "Bt.", "Bt.", "Zrt.", "Kkt."};

// "%1" is a town.
inline constexpr const char *const authorities[] = {
    "%1 Város Önkormányzata", "%1 Polgármesteri Hivatal", "%1 Járási Hivatal",
    "%1 Rendőrkapitányság", "%1 Katasztrófavédelmi Kirendeltség", "%1 Városgazdálkodási Kft.",
    "%1 Vízmű Zrt.", "%1 Általános Iskola",
};
inline constexpr const char *const nationalBodies[] = {
    "Nemzeti Adó- és Vámhivatal", "Magyar Államkincstár", "Magyar Posta Zrt.",
    "Központi Statisztikai Hivatal", "Nemzeti Egészségbiztosítási Alapkezelő", "Közbeszerzési Hatóság",
    "Állami Számvevőszék", "Nemzeti Fejlesztési Ügynökség",
};

// Groups, internal units and the user accounts' departments (csoport_nev is 25 wide).
inline constexpr const char *const departments[] = {
    "Titkárság", "Pénzügy", "Műszaki osztály", "Jogi osztály", "Humánerőforrás", "Ügyfélszolgálat",
    "Beszerzés", "Vezetőség",
};

struct DemoUser
{
    const char *login;
    const char *name;
    bool admin;
    bool masterData;
    bool write; // may insert, edit and delete
    int department;
};

inline constexpr DemoUser demoUsers[] = {
    {"szabo.peter", "Szabó Péter", true, true, true, 7}, {"kovacs.anna", "Kovács Anna", false, true, true, 0},
    {"toth.erzsebet", "Tóth Erzsébet", false, false, true, 1},
    {"nagy.gabor", "Nagy Gábor", false, true, true, 2},
    {"horvath.zsofia", "Horváth Zsófia", false, false, true, 3},
    {"szucs.gyozo", "Szűcs Győző", false, false, true, 5},
    {"molnar.odon", "Molnár Ödön", false, false, false, 4},
};

inline constexpr const char *const projects[] = {
    "Városháza felújítása", "Óvodabővítés", "Kerékpárút-építés a Duna-parton", "Iskolai digitalizáció",
    "Szennyvízhálózat bővítése", "Közvilágítás korszerűsítése", "Piac rekonstrukciója",
    "Sportcsarnok építése", "Zöldfelület-fejlesztés", "Energetikai korszerűsítés",
    "Belterületi utak felújítása", "Egészségház kialakítása", "Rendezési terv módosítása",
    "Ügyfélkapu bevezetése", "Tűzoltószertár bővítése",
};

inline constexpr const char *const workNumbers[] = {
    "MSZ-101 Általános igazgatás", "MSZ-102 Testületi ügyek", "MSZ-110 Személyügy",
    "MSZ-120 Pénzügyi tervezés", "MSZ-121 Könyvelés", "MSZ-122 Adóügyek", "MSZ-130 Beszerzés",
    "MSZ-140 Vagyongazdálkodás", "MSZ-150 Építésügy", "MSZ-151 Közterület-felügyelet",
    "MSZ-160 Környezetvédelem", "MSZ-170 Szociális ügyek", "MSZ-180 Oktatás, művelődés",
    "MSZ-190 Informatika", "MSZ-200 Jogi ügyek", "MSZ-210 Pályázatok", "MSZ-220 Ügyfélszolgálat",
    "MSZ-230 Műszaki üzemeltetés",
};

// The document types; subjects name theirs by index.
inline constexpr const char *const types[] = {
    "Levél", "Számla", "Szerződés", "Árajánlat", "Megrendelés", "Jegyzőkönyv", "Határozat", "Végzés",
    "Meghívó", "Kérelem", "Panasz", "Értesítés", "Feljegyzés", "Teljesítésigazolás", "Belső utasítás",
    "Jelentés", "Pályázat", "Nyilatkozat", "Fizetési felszólítás", "Hiánypótlás", "Idézés",
};
enum TypeIndex {
    Level, Szamla, Szerzodes, Arajanlat, Megrendeles, Jegyzokonyv, Hatarozat, Vegzes, Meghivo, Kerelem, Panasz,
    Ertesites, Feljegyzes, Teljesites, Utasitas, Jelentes, Palyazat, Nyilatkozat, Felszolitas, Hianypotlas, Idezes
};

inline constexpr const char *const otherGroupings[] = {
    "Sürgős", "Bizalmas", "Tájékoztató jellegű", "Elektronikusan érkezett", "Személyesen átvett",
    "Ajánlott küldemény", "Tértivevényes", "Hivatali kapu", "E-mail", "Futárszolgálat",
};

struct Status
{
    int code;
    const char *name;
    bool done;
    const char *colour;
};
inline constexpr Status statuses[] = {
    {0, "Új", false, "primary"}, {1, "Folyamatban", false, "info"}, {2, "Válaszra vár", false, "warning"},
    {3, "Jóváhagyásra vár", false, "warning"}, {4, "Hiánypótlás", false, "danger"},
    {5, "Felfüggesztve", false, "secondary"}, {6, "Elintézve", true, "success"}, {7, "Lezárva", true, "dark"},
    {8, "Irattárba helyezve", true, "light"}, {9, "Selejtezhető", true, ""},
};

struct Subject
{
    const char *text; // {projekt} {partner} {varos} {utca} {ev} {honap} {nap} {szam} {negyedev}
    int type;
};

inline constexpr Subject incomingSubjects[] = {
    {"Árajánlat - {projekt}", Arajanlat}, {"Számla {szam}/{ev} - {partner}", Szamla},
    {"Megrendelés visszaigazolása ({szam}/{ev})", Megrendeles},
    {"Építési engedély iránti kérelem - {varos}, {utca}", Kerelem},
    {"Hiánypótlási felhívás a(z) {szam}/{ev}. számú ügyben", Hianypotlas},
    {"Meghívó lakossági fórumra - {varos}", Meghivo}, {"Panasz a közvilágítás hibája miatt ({utca})", Panasz},
    {"Kérelem közterület-használati engedélyhez", Kerelem},
    {"Szerződéstervezet véleményezésre - {projekt}", Szerzodes},
    {"Fizetési felszólítás - {szam}/{ev}. számú számla", Felszolitas},
    {"Teljesítésigazolás kérése - {projekt}", Teljesites},
    {"Jegyzőkönyv a {honap} {nap}-i helyszíni bejárásról", Jegyzokonyv},
    {"Végzés a(z) {szam}/{ev}. számú eljárásban", Vegzes},
    {"Értesítés adatszolgáltatási kötelezettségről", Ertesites},
    {"Őrzés-védelmi szolgáltatás ajánlata", Arajanlat},
    {"Fűtéskorszerűsítés műszaki ellenőri jelentése", Jelentes},
    {"Tűzvédelmi szemle eredménye - {utca}", Jegyzokonyv}, {"Közüzemi számla - {ev}. {honap}", Szamla},
    {"Díjbekérő - {projekt}", Szamla}, {"Idézés tárgyalásra ({szam}/{ev})", Idezes},
    {"Önkormányzati támogatás elszámolása, {ev}", Jelentes}, {"Levél a(z) {partner} részéről", Level},
    {"Tájékoztatás a szolgáltatási díjak változásáról", Level}, {"Pályázati felhívás: {projekt}", Palyazat},
};

inline constexpr Subject outgoingSubjects[] = {
    {"Válasz a(z) {szam}/{ev}. számú megkeresésre", Level}, {"Megrendelés - {projekt}", Megrendeles},
    {"Árajánlatkérés - {projekt}", Arajanlat}, {"Szerződés aláírásra - {partner}", Szerzodes},
    {"Értesítés a döntésről", Ertesites}, {"Határozat a kérelem tárgyában ({szam}/{ev})", Hatarozat},
    {"Teljesítésigazolás - {projekt}", Teljesites}, {"Hiánypótlás benyújtása", Hianypotlas},
    {"Fizetési emlékeztető - {szam}/{ev}", Felszolitas},
    {"Meghívó egyeztető megbeszélésre ({honap} {nap}.)", Meghivo},
    {"Tájékoztató levél a díjváltozásról", Level}, {"Kérelem határidő-hosszabbításra", Kerelem},
    {"Adatszolgáltatás, {ev}. {negyedev}. negyedév", Jelentes},
    {"Nyilatkozat az áfalevonási jogról", Nyilatkozat},
    {"Tájékoztató a közbeszerzési eljárás eredményéről - {projekt}", Ertesites},
    {"Pályázati dokumentáció benyújtása - {projekt}", Palyazat}, {"Levél {partner} részére", Level},
};

inline constexpr Subject otherSubjects[] = {
    {"Belső utasítás az iratkezelési rend módosításáról", Utasitas},
    {"Feljegyzés a {honap} {nap}-i vezetői értekezletről", Feljegyzes},
    {"Szabadságolási terv, {ev}", Feljegyzes}, {"Leltár, {ev}", Jegyzokonyv},
    {"Selejtezési jegyzőkönyv, {ev}", Jegyzokonyv}, {"Munkavédelmi oktatás jelenléti íve", Jegyzokonyv},
    {"Belső ellenőrzési jelentés - {projekt}", Jelentes}, {"Kiküldetési rendelvény - {varos}", Feljegyzes},
    {"Gépjármű menetlevél, {ev}. {honap}", Feljegyzes}, {"Munkaköri leírás módosítása", Utasitas},
};

inline constexpr const char *const months[] = {"január", "február",   "március",    "április", "május",    "június",
                              "július", "augusztus", "szeptember", "október", "november", "december"};

inline constexpr const char *const storagePlaces[] = {
    "Irattár I.", "Irattár II.", "Titkárság, 1. polc", "Pénzügy, páncélszekrény",
    "Műszaki osztály, 3. szekrény", "Jogi osztály", "Archívum, 12. doboz", "Archívum, 27. doboz",
    "Ügyfélszolgálat, tárló", "Főépület, pince", "Vezetői iroda",
};

inline constexpr const char *const reminderTexts[] = {
    "Visszahívni az ügyfelet", "Hiánypótlás határideje lejár", "Fizetési határidő",
    "Egyeztetés a jogi osztállyal", "Válaszlevél elküldése", "Szerződés aláírásának ellenőrzése",
    "Helyszíni bejárás időpontja", "Őrzési idő felülvizsgálata", "Ügyfél értesítése a döntésről",
    "Számla kifizetésének ellenőrzése",
};

inline constexpr const char *const remarks[] = {
    "Eredeti példány az irattárban.", "Másolat a pénzügyre továbbítva.",
    "Sürgős! Azonnali intézkedést igényel.", "Az ügyfél telefonon is jelezte.\r\nVisszahívás megtörtént.",
    "Hiányos, pótlás kérve.", "Elektronikusan is megérkezett (e-mail).", "Tértivevény visszaérkezett.",
    "Iktatás után szkennelve.", "O'Brien úr levele szerint a szállítás két hetet késik.",
    "Kérjük a határidő betartását; további egyeztetés szükséges.\r\nFelelős: {ugyintezo}",
    "Tűzvédelmi előírás: 50% előleg, a többi átadáskor.",
};

inline constexpr const char *const keywords[] = {
    "szerződés, ajánlat", "számla, kifizetés", "engedély, építés", "panasz", "pályázat, támogatás",
    "közbeszerzés", "személyügy", "adó", "közmű, víz", "karbantartás", "őrzés, vagyonvédelem",
    "fűtés, energia",
};

inline constexpr const char *const attachmentNames[] = {
    "beolvasott_{datum}.pdf", "{tipus}_{szam}.pdf", "Árajánlat {szam}.pdf", "szerződés_tervezet_v{n}.docx",
    "melléklet_{n}.xlsx", "fénykép_helyszín_{n}.jpg", "Számla_{szam}_{ev}.pdf", "jegyzőkönyv.doc",
    "térkép.png", "levél.odt", "adatlap.xls", "nyilatkozat aláírt.pdf", "OLVASSEL",
};

inline constexpr int areaCodes[] = {22, 23, 24, 25, 26, 27, 28, 29, 32, 33, 34, 35, 36, 37, 42, 44, 45, 46,
                         47, 48, 49, 52, 53, 54, 56, 57, 59, 62, 63, 66, 68, 69, 72, 73, 74, 75,
                         76, 77, 78, 79, 82, 83, 84, 85, 87, 88, 89, 92, 93, 94, 95, 96, 99};
// clang-format on

} // namespace DemoVocabulary
