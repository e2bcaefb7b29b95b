// The notes for the driver, from the scenario's curator: the night train and its
// cars, the route, the Fornace link with its 16 per thousand tunnel ramp, how the
// scenario draws that link, and why cab signalling starts only at 7050 m. The
// prose is wrapped by hand; three lines are deliberately left long.
#include "scenario/data_set.hpp"

namespace tratta {

namespace {
// clang-format off
constexpr std::string_view lines[] = {
    "  Il TR 000 Esempio è l'espresso notturno che ogni sera lascia Portaurea Centrale alle 19.35 e,",
    "dopo ben 333 chilometri di linea costiera, di linea diretta e di linea vecchia, arriva a Sarmenta",
    "Centrale alle 22.29. Da Sarmenta il treno prosegue per tutta la notte verso il lontano nord, ma",
    "lo scenario ne riproduce soltanto la prima parte, quella che il macchinista di Portaurea condu-",
    "ce fino al cambio del personale. Il servizio nacque molti anni fa come treno di soli vagoni let-",
    "to per i viaggiatori d'affari, che potevano cenare in città, salire in carrozza con calma e sve-",
    "gliarsi la mattina dopo a destinazione; col tempo gli si aggiunsero le carrozze con cuccette, più",
    "economiche, e oggi è uno degli ultimi treni notte rimasti sulla linea. La composizione dello sce-",
    "nario è quella della stagione estiva: sedici vetture, cioè dieci carrozze letto a compartimenti",
    "singoli e doppi e sei carrozze con cuccette a quattro e a sei posti, tutte climatizzate. In ser-",
    "vizio commerciale il treno si ferma solo a Castelnebbio, a Valtorre Centrale e a Pontelagno, con",
    "soste di due minuti; nelle altre stazioni passa alla velocità consentita dalla linea.",
    "  La massa bloccata del treno è di 800 tonnellate, a cui va aggiunta quella della locomotiva; la percentuale di massa frenata è del 125%, la stessa scritta nella scheda treno.",
    "  Il percorso segue la linea costiera fino a Calvari e poi la linea diretta fino a Bivio Forna-",
    "ce, dove per un breve tratto cambia itinerario.",
    "  Oltre Bivio Fornace la linea diretta prosegue fino a Sarmenta, ma di notte quel tratto è chiu-",
    "so per lavori e i treni notturni vengono instradati sulla bretella a semplice binario che da Bi-",
    "vio Fornace raggiunge Bivio Pozzetto, sulla vecchia linea per Sarmenta. Per non incrociare a raso",
    "i binari della linea diretta, la bretella li sottopassa: scende all'11 per mille fino dentro la",
    "galleria Fornace, lunga quasi due chilometri e mezzo, passa sotto la linea diretta e risale con",
    "una pendenza del 16 per mille fino a sbucare accanto alla linea vecchia, più in alto di questa.",
    "La salita del 16 per mille, che in tutto il resto del percorso non si incontra mai, va affrontata a 60 km/h con 800 tonnellate al gancio: in galleria le rotaie sono umide e l'aderenza è precaria.",
    "Chi si ferma sulla rampa è costretto a ripartire lentamente, dosando la trazione e la sabbia, dato",
    "che le ruote slittano con facilità: conviene quindi regolare la marcia già da Serralunga in modo",
    "da arrivare a Bivio Fornace a via libera.",
    "  Nello scenario la bretella è rappresentata come una linea a doppio binario: i segnali e i car-",
    "telli sono disposti come su una linea doppia, anche se sul terreno il binario è soltanto uno. Il",
    "cartello Dev.I. posto poco prima di Bivio Pozzetto, che sulla linea vera indica il deviatoio d'in-",
    "gresso sulla linea vecchia, nello scenario non ha alcuna funzione: è rimasto soltanto come segno",
    "per chi conosce il posto. Anche il cambio di progressiva chilometrica di Bivio Pozzetto è stato",
    "omesso: da quel punto valgono sul terreno i chilometri della linea vecchia, che a Bivio Pozzetto",
    "si trova al chilometro 7,650, mentre lo scenario continua a contare quelli della bretella fino al",
    "punto in cui la linea per Sarmenta comincia a contare all'indietro; nella scheda treno il valore",
    "vero è scritto tra parentesi, sotto quello dello scenario. Le due note in calce alla prima scheda,",
    "segnate con uno e con due asterischi, riguardano invece la linea diretta e indicano i limiti mas-",
    "simi di due suoi tratti, come nella scheda originale del treno; sulla bretella, che in quelle note",
    "non compare, vale ovunque il limite di 60 km/h riportato nella colonna delle velocità, da Bivio Fornace fino a Bivio Pozzetto.",
    "  Chi conosce gli altri miei scenari si accorge subito che la successione dei segnali all'inizio",
    "del percorso è diversa dal solito. Il motivo è che la ripetizione dei segnali in cabina comincia",
    "soltanto a 7050 metri dall'origine, dove è posto il primo punto di codice: il segnale di partenza",
    "di Portaurea Centrale, che è a 1050 metri, e i segnali di blocco che lo seguono si osservano solo",
    "lungo la linea: la cabina è muta.",
    "  Il curatore dello scenario",
    "  curatore.scenari@example.org",
    end_marker,
};
// clang-format on
} // namespace

DataSet note_data() { return lines; }

} // namespace tratta
